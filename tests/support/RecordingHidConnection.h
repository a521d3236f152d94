#pragma once

#include "platform/HidTransport.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// A HID connection without a device behind it: it keeps every report written
// to it, answers reads from a queue (nothing queued reads as a time-out) and
// can be told to fail every write after the first N.
class RecordingHidConnection : public HidConnection {
public:
    using Report = std::array<std::uint8_t, kHidReportSize>;

    struct Log {
        std::vector<std::vector<std::uint8_t>> written;
        std::deque<Report> replies;
        long writesBeforeFailure = -1;
    };

    explicit RecordingHidConnection(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    bool write(const std::uint8_t* report, std::size_t length) override;
    int read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override;

private:
    std::shared_ptr<Log> log_;
};
