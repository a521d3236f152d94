#include "device/CKeyboardUtil.h"

#include <algorithm>
#include <array>
#include <cstring>

CKeyboardUtil::CKeyboardUtil(std::unique_ptr<HidConnection> handle) : handle_(std::move(handle)) {}

CKeyboardUtil::~CKeyboardUtil() = default;

bool CKeyboardUtil::writeReport(const std::uint8_t* buffer, int length) {
    if (!handle_ || buffer == nullptr || length <= 0) {
        return false;
    }
    return handle_->write(buffer, static_cast<std::size_t>(length));
}

bool CKeyboardUtil::readReport(std::uint8_t* payload, int& length, int timeoutMs) {
    if (!handle_ || payload == nullptr || length < 0) {
        return false;
    }
    std::array<std::uint8_t, kHidReportSize> report{};
    const int received = handle_->read(report.data(), report.size(), timeoutMs);
    if (received <= 0) {
        return false;
    }
    const int copied = std::min<int>(length, static_cast<int>(kHidReportSize) - 1);
    std::memcpy(payload, report.data() + 1, static_cast<std::size_t>(copied));
    length = std::max(length, received - 1);
    return true;
}
