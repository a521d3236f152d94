#include "tools/zarn-sim/FirmwareLoader.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <numeric>

namespace {

enum RecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    StartSegmentAddress = 0x03,
    ExtendedLinearAddress = 0x04,
    StartLinearAddress = 0x05,
};

// Larger than any keyboard's flash: beyond it a download is garbage, and the
// simulator must not grow without bound on it.
constexpr std::size_t kMaxImageBytes = 16u << 20;

// Count, address (2), type, checksum.
constexpr std::size_t kRecordOverhead = 5;

std::uint16_t word(std::span<const std::uint8_t> data) {
    return static_cast<std::uint16_t>(data[0] << 8 | data[1]);
}

std::uint32_t doubleWord(std::span<const std::uint8_t> data) {
    return static_cast<std::uint32_t>(data[0]) << 24 | static_cast<std::uint32_t>(data[1]) << 16 |
           static_cast<std::uint32_t>(data[2]) << 8 | data[3];
}

} // namespace

std::string FirmwareImageSummary::describe() const {
    char text[200];
    std::snprintf(text, sizeof text, "image %s: %zu bytes, 0x%08X-0x%08X, %zu records, %zu bad records",
                  broken ? "broken" : "complete", bytes, static_cast<unsigned>(firstAddress),
                  static_cast<unsigned>(lastAddress), records, badRecords);
    return text;
}

std::optional<FirmwareImageSummary> FirmwareLoader::addRecord(std::span<const std::uint8_t> bytes) {
    ++records_;
    if (!acceptRecord(bytes)) {
        ++badRecords_;
        return std::nullopt;
    }
    if (!endSeen_) {
        return std::nullopt;
    }
    return finish();
}

bool FirmwareLoader::acceptRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return false;
    }
    const std::size_t count = bytes[0];
    const std::size_t length = count + kRecordOverhead;
    if (length > bytes.size()) {
        return false;
    }
    const auto record = bytes.first(length);
    const unsigned sum = std::accumulate(record.begin(), record.end(), 0u);
    if ((sum & 0xFF) != 0) {
        return false;
    }
    const std::uint16_t offset = word(record.subspan(1, 2));
    const auto data = record.subspan(4, count);
    switch (record[3]) {
    case Data:
        if (bytes_ + count > kMaxImageBytes) {
            return false;
        }
        addData(base_ + offset, data);
        return true;
    case EndOfFile:
        endSeen_ = count == 0;
        return endSeen_;
    case ExtendedSegmentAddress:
        if (count != 2) {
            return false;
        }
        base_ = static_cast<std::uint32_t>(word(data)) << 4;
        return true;
    case ExtendedLinearAddress:
        if (count != 2) {
            return false;
        }
        base_ = static_cast<std::uint32_t>(word(data)) << 16;
        return true;
    case StartSegmentAddress:
    case StartLinearAddress:
        if (count != 4) {
            return false;
        }
        startAddress_ = doubleWord(data);
        return true;
    default:
        return false;
    }
}

void FirmwareLoader::addData(std::uint32_t address, std::span<const std::uint8_t> data) {
    bytes_ += data.size();
    if (data.empty()) {
        return;
    }
    // Records usually follow each other: extend the run that ends where this one starts.
    auto next = image_.upper_bound(address);
    if (next != image_.begin()) {
        auto& [start, run] = *std::prev(next);
        if (start + run.size() == address) {
            run.insert(run.end(), data.begin(), data.end());
            return;
        }
    }
    image_[address].assign(data.begin(), data.end());
}

FirmwareImageSummary FirmwareLoader::finish() {
    FirmwareImageSummary summary;
    summary.broken = badRecords_ > 0;
    summary.bytes = bytes_;
    summary.records = records_;
    summary.badRecords = badRecords_;
    summary.startAddress = startAddress_;
    if (!image_.empty()) {
        summary.firstAddress = image_.begin()->first;
        for (const auto& [start, run] : image_) {
            summary.lastAddress =
                std::max(summary.lastAddress, static_cast<std::uint32_t>(start + run.size() - 1));
        }
    }
    lastImage_ = std::move(image_);
    image_.clear();
    base_ = 0;
    bytes_ = 0;
    records_ = 0;
    badRecords_ = 0;
    startAddress_.reset();
    endSeen_ = false;
    return summary;
}
