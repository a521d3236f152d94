#pragma once

#include "platform/HidTransport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// A keyboard made of the fuzzer's bytes: every write succeeds and is counted,
// every read hands out the next 65 bytes of the input until it runs out.
class FuzzConnection : public HidConnection {
public:
    FuzzConnection(const std::uint8_t* data, std::size_t size, long* writes)
        : data_(data), size_(size), writes_(writes) {}

    bool write(const std::uint8_t* report, std::size_t length) override {
        if (report == nullptr || length != kHidReportSize) {
            __builtin_trap();
        }
        ++*writes_;
        return true;
    }

    int read(std::uint8_t* report, std::size_t capacity, int /*timeoutMs*/) override {
        if (position_ >= size_) {
            return -1;
        }
        const std::size_t length = std::min({capacity, kHidReportSize, size_ - position_});
        std::memcpy(report, data_ + position_, length);
        position_ += length;
        return static_cast<int>(length);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    long* writes_;
};
