#pragma once

#include "platform/HidTransport.h"

#include <cstdint>
#include <memory>

// The transport of one opened HID interface.  A transport whose open failed
// still exists; every report operation on it fails.
class CKeyboardUtil {
public:
    // A keyboard that has said nothing for this long is taken as not answering.
    static constexpr int kReadTimeoutMs = 2000;

    // Holds the device against other programs while it lives (see
    // HidConnection::beginTransfer); false when that failed, and then the
    // transfer must not start.  Scopes nest: only the outermost locks.
    class Transfer {
    public:
        explicit Transfer(CKeyboardUtil& transport);
        ~Transfer();
        Transfer(const Transfer&) = delete;
        Transfer& operator=(const Transfer&) = delete;
        explicit operator bool() const { return ok_; }

    private:
        CKeyboardUtil& transport_;
        bool ok_ = false;
    };

    // `openFailure` says why `handle` is null.
    explicit CKeyboardUtil(std::unique_ptr<HidConnection> handle, HidFailure openFailure = {});
    virtual ~CKeyboardUtil();
    CKeyboardUtil(const CKeyboardUtil&) = delete;
    CKeyboardUtil& operator=(const CKeyboardUtil&) = delete;

    // Sends `length` bytes (a whole report, report id first).
    virtual bool writeReport(const std::uint8_t* buffer, int length);

    // Receives one report and copies up to `length` (at most 64) of its payload
    // bytes into `payload`; `length` becomes the larger of itself and the
    // payload bytes received.  False, copying nothing, when no report arrived
    // within `timeoutMs`, or when what arrived was not a whole report of 65
    // bytes: a shorter or longer message is malformed, not a report to guess at.
    virtual bool readReport(std::uint8_t* payload, int& length, int timeoutMs);

    bool isOpen() const { return handle_ != nullptr; }
    // Why the open, or the last transfer, failed; none after a transfer that
    // went through.
    const HidFailure& lastFailure() const { return failure_; }
    int readTimeoutMs() const { return readTimeoutMs_; }
    void setReadTimeoutMs(int milliseconds) { readTimeoutMs_ = milliseconds; }

private:
    bool beginTransfer();
    void endTransfer();
    void noteFailure();

    std::unique_ptr<HidConnection> handle_;
    int readTimeoutMs_ = kReadTimeoutMs;
    HidFailure failure_;
    int transferDepth_ = 0;
};
