#pragma once

#include <libudev.h>

#include <string>

// The libudev functions the device monitor calls, from the system's libudev:
// only the program watches for keyboards coming and going.
struct UdevLibrary {
    decltype(&udev_new) create = nullptr;
    decltype(&udev_unref) unref = nullptr;
    decltype(&udev_monitor_new_from_netlink) monitorFromNetlink = nullptr;
    decltype(&udev_monitor_filter_add_match_subsystem_devtype) monitorMatchSubsystem = nullptr;
    decltype(&udev_monitor_enable_receiving) monitorEnableReceiving = nullptr;
    decltype(&udev_monitor_get_fd) monitorFd = nullptr;
    decltype(&udev_monitor_receive_device) monitorReceiveDevice = nullptr;
    decltype(&udev_monitor_unref) monitorUnref = nullptr;
    decltype(&udev_device_get_action) deviceAction = nullptr;
    decltype(&udev_device_unref) deviceUnref = nullptr;
};

// Loaded on the first call; null for good, with the reason in `error`, when
// the system has no usable libudev.
const UdevLibrary* udevLibrary(std::string* error = nullptr);
