#pragma once

#include <chrono>
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

// The poll time-out that sleeps until `remaining` has passed: rounded up to
// whole milliseconds, because a wait rounded down to 0 returns at once and
// the watcher would spin through the last millisecond of every interval.
int PollTimeoutMs(std::chrono::nanoseconds remaining);
