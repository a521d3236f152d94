#include "device/CKeyboardUtil.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

CKeyboardUtil::Transfer::Transfer(CKeyboardUtil& transport) : transport_(transport) {
    ok_ = transport_.beginTransfer();
}

CKeyboardUtil::Transfer::~Transfer() {
    if (ok_) {
        transport_.endTransfer();
    }
}

CKeyboardUtil::CKeyboardUtil(std::unique_ptr<HidConnection> handle, HidFailure openFailure)
    : handle_(std::move(handle)), failure_(std::move(openFailure)) {}

CKeyboardUtil::~CKeyboardUtil() = default;

bool CKeyboardUtil::beginTransfer() {
    if (!handle_) {
        // The reason the open failed stays the answer.
        return false;
    }
    if (transferDepth_ == 0) {
        HidFailure locked = handle_->beginTransfer();
        if (locked.failed()) {
            failure_ = std::move(locked);
            return false;
        }
        failure_ = {};
    }
    ++transferDepth_;
    return true;
}

void CKeyboardUtil::endTransfer() {
    if (--transferDepth_ == 0) {
        handle_->endTransfer();
    }
}

void CKeyboardUtil::noteFailure() {
    failure_ = handle_->lastFailure();
    // A connection that cannot tell at least failed to get an answer.
    if (!failure_.failed()) {
        failure_.kind = HidFailureKind::NoAnswer;
    }
}

bool CKeyboardUtil::writeReport(const std::uint8_t* buffer, int length) {
    if (!handle_ || buffer == nullptr || length <= 0) {
        return false;
    }
    if (!handle_->write(buffer, static_cast<std::size_t>(length))) {
        noteFailure();
        return false;
    }
    return true;
}

bool CKeyboardUtil::readReport(std::uint8_t* payload, int& length, int timeoutMs) {
    if (!handle_ || payload == nullptr || length < 0) {
        return false;
    }
    std::array<std::uint8_t, kHidReportSize> report{};
    const int received = handle_->read(report.data(), report.size(), timeoutMs);
    if (received <= 0) {
        noteFailure();
        return false;
    }
    // A shorter or longer message is malformed, not a report to guess at.
    if (received != static_cast<int>(kHidReportSize)) {
        failure_ = {HidFailureKind::SystemError, handle_->lastFailure().node, EBADMSG};
        return false;
    }
    const int copied = std::min<int>(length, static_cast<int>(kHidReportSize) - 1);
    std::memcpy(payload, report.data() + 1, static_cast<std::size_t>(copied));
    length = std::max(length, received - 1);
    return true;
}
