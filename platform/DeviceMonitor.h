#pragma once

#include <functional>
#include <memory>

// Calls `onChange` (from a monitor thread) whenever a hidraw device appears
// or disappears, or a virtual keyboard's socket goes away: the program's
// device-change notification.  Stops when destroyed.
class DeviceMonitor {
public:
    virtual ~DeviceMonitor() = default;
};

std::unique_ptr<DeviceMonitor> StartDeviceMonitor(std::function<void()> onChange);
