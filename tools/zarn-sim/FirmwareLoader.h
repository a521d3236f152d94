#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the boot loader made of one download, from its first record to the
// end-of-file record.
struct FirmwareImageSummary {
    bool broken = false;
    std::size_t bytes = 0;
    std::uint32_t firstAddress = 0;
    std::uint32_t lastAddress = 0;
    std::size_t records = 0;
    std::size_t badRecords = 0;
    std::optional<std::uint32_t> startAddress;

    // "image complete: ..." or "image broken: ..." as stderr and the trace show it.
    std::string describe() const;
};

// The boot loader's view of Intel HEX records: it checks each record's
// checksum and type, places data records at base + offset, and counts what it
// could not accept.  A download that saw a bad record is broken, like a boot
// loader that would not start such an image.
class FirmwareLoader {
public:
    // Contiguous runs of image bytes by start address.
    using Segments = std::map<std::uint32_t, std::vector<std::uint8_t>>;

    // The converted bytes of one record (byte count, address, type, data,
    // checksum, then padding).  Returns the summary when the record ends the
    // download; the loader is then ready for the next one.
    std::optional<FirmwareImageSummary> addRecord(std::span<const std::uint8_t> bytes);

    bool inProgress() const { return records_ > 0; }
    // The image of the last finished download (empty before the first).
    const Segments& lastImage() const { return lastImage_; }

private:
    bool acceptRecord(std::span<const std::uint8_t> bytes);
    void addData(std::uint32_t address, std::span<const std::uint8_t> data);
    FirmwareImageSummary finish();

    Segments image_;
    Segments lastImage_;
    std::uint32_t base_ = 0;
    std::size_t bytes_ = 0;
    std::size_t records_ = 0;
    std::size_t badRecords_ = 0;
    std::optional<std::uint32_t> startAddress_;
    bool endSeen_ = false;
};
