#pragma once

#include "platform/HidFailure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Every report in either direction is 65 bytes: the report id (always 0)
// followed by 64 bytes of payload.
inline constexpr std::size_t kHidReportSize = 65;

// Lists virtual HID interfaces as "VVVV:PPPP:I=PATH;..." (hexadecimal vendor
// and product, decimal interface number, a SOCK_SEQPACKET socket path).
inline constexpr const char* kVirtualHidVariable = "ZARN_VIRTUAL_HID";

enum class HidBackend { Virtual, Hidraw };

struct HidDeviceInfo {
    HidBackend backend = HidBackend::Hidraw;
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int interfaceNumber = -1;
};

// One opened HID interface.  Both calls block, but never longer than their
// time-out, so a keyboard that stops answering cannot hang the caller.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    // Sends one whole report (byte 0 is the report id).
    virtual bool write(const std::uint8_t* report, std::size_t length) = 0;

    // Receives one report into `report` (byte 0 the report id), waiting at most
    // `timeoutMs`.  Returns the length of the report as the device sent it,
    // or -1 when nothing arrived in time, the device went away or the call
    // failed.  A report longer than `capacity` is cut to it but still tells
    // its whole length, so that the caller can refuse it.
    virtual int read(std::uint8_t* report, std::size_t capacity, int timeoutMs) = 0;

    // Why the last write or read failed.
    virtual HidFailure lastFailure() const { return {}; }

    // Holds the device for this program from here to endTransfer, so that
    // two programs never interleave their reports: Busy while another
    // program holds it.  A connection without a lock always succeeds.
    virtual HidFailure beginTransfer() { return {}; }
    virtual void endTransfer() {}
};

// Every HID interface present now: the virtual ones of ZARN_VIRTUAL_HID first,
// in the order listed (the variable is read at every call), then hidraw.
std::vector<HidDeviceInfo> EnumerateHidDevices();

// Null when the interface cannot be opened; `failure`, when given, then says why.
std::unique_ptr<HidConnection> OpenHidDevice(const HidDeviceInfo& device, HidFailure* failure = nullptr);
