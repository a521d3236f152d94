#include "device/FirmwareDownload.h"

#include "device/CKeyboardUtil.h"
#include "device/ReportLayout.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Payload offsets 2..63 carry the converted bytes; a longer record loses its tail.
constexpr std::size_t kRecordOffset = 2;
constexpr std::size_t kMaxRecordBytes = kPayloadSize - kRecordOffset;

// Anything that is not a hexadecimal digit counts as 0, as the keyboard's
// own download tool always did.
int digitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return 0;
}

bool acceptableLine(std::string_view line) {
    const std::size_t digits = line.size() - 1;
    return line.size() < kMaxFirmwareLineLength && line.front() == ':' && digits % 2 == 0;
}

std::array<std::uint8_t, kHidReportSize> recordReport(std::string_view line) {
    std::array<std::uint8_t, kHidReportSize> report{};
    std::uint8_t* payload = report.data() + 1;
    payload[1] = kFirmwareRecordCommand;
    const std::string_view digits = line.substr(1);
    for (std::size_t i = 0; i + 1 < digits.size() && i / 2 < kMaxRecordBytes; i += 2) {
        payload[kRecordOffset + i / 2] =
            static_cast<std::uint8_t>(digitValue(digits[i]) * 16 + digitValue(digits[i + 1]));
    }
    return report;
}

} // namespace

std::optional<FirmwareText> firmwareRecords(const char* text, std::size_t size) {
    if (text == nullptr || size == 0 || text[0] != ':') {
        return std::nullopt;
    }
    // The text ends at its zero byte, but never past the size it came with.
    const std::string_view all(text, ::strnlen(text, size));
    FirmwareText firmware;
    firmware.lineCount = 0;
    bool ended = false;
    std::size_t position = 0;
    for (;;) {
        const std::size_t end = all.find_first_of("\r\n", position);
        const std::string_view line =
            all.substr(position, end == std::string_view::npos ? all.npos : end - position);
        // What follows the last line break is a line only when it holds something.
        if (!line.empty() || end != std::string_view::npos) {
            ++firmware.lineCount;
        }
        // The first empty line ends the download, but what follows it is
        // still checked: a text that is not a firmware is refused whole.
        if (line.empty()) {
            ended = true;
        } else if (!acceptableLine(line)) {
            return std::nullopt;
        } else if (!ended) {
            firmware.records.push_back(line);
        }
        if (end == std::string_view::npos) {
            break;
        }
        position = end + 1;
        if (all[end] == '\r' && position < all.size() && all[position] == '\n') {
            ++position;
        }
    }
    firmware.lineCount = std::max(firmware.lineCount, 1L);
    return firmware;
}

bool downloadFirmware(CKeyboardUtil& transport, const char* text, std::size_t size,
                      const WindowHandle& window) {
    const auto firmware = firmwareRecords(text, size);
    if (!firmware) {
        return false;
    }
    const CKeyboardUtil::Transfer transfer(transport);
    if (!transfer) {
        return false;
    }
    const long lines = firmware->lineCount;
    long sent = 0;
    long lastPosted = 0;
    for (const std::string_view line : firmware->records) {
        const auto report = recordReport(line);
        if (!transport.writeReport(report.data(), static_cast<int>(report.size()))) {
            return false;
        }
        sent += kFirmwareProgressEnd;
        const long progress = sent / lines;
        if (progress > lastPosted) {
            if (window) {
                window.post(UM_DEVICE_PROGRESS, static_cast<WPARAM>(progress), 0);
            }
            lastPosted = progress;
        }
    }
    return true;
}
