#pragma once

#include "platform/HidTransport.h"

#include <memory>
#include <string>
#include <vector>

std::vector<HidDeviceInfo> EnumerateHidapi();

std::unique_ptr<HidConnection> OpenHidapi(const std::string& path);
