#pragma once

#include "platform/HidTransport.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every well-formed entry of a ZARN_VIRTUAL_HID value, in order; malformed
// entries are skipped so one typo does not hide the other keyboards.
std::vector<HidDeviceInfo> ParseVirtualHidList(std::string_view list);

// The listed virtual interfaces whose socket accepts a connection now.
std::vector<HidDeviceInfo> EnumerateVirtualHid();

// Null when the socket does not take the connection, with the reason in `failure`.
std::unique_ptr<HidConnection> OpenVirtualHid(const std::string& socketPath, HidFailure* failure = nullptr);
