#pragma once

#include "platform/HidTransport.h"

#include <memory>
#include <string>
#include <vector>

std::vector<HidDeviceInfo> EnumerateHidapi();

// Null when the node cannot be opened, with the reason in `failure`.
std::unique_ptr<HidConnection> OpenHidapi(const std::string& path, HidFailure* failure = nullptr);
