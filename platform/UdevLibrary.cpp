#include "platform/UdevLibrary.h"

#include "platform/SharedLibrary.h"

#include <memory>

namespace {

struct Loaded {
    std::unique_ptr<UdevLibrary> udev;
    std::string error;
};

Loaded load() {
    static SharedLibrary library("libudev.so.1");
    auto udev = std::make_unique<UdevLibrary>();
    const bool complete =
        library.resolve(udev->create, "udev_new") && library.resolve(udev->unref, "udev_unref") &&
        library.resolve(udev->monitorFromNetlink, "udev_monitor_new_from_netlink") &&
        library.resolve(udev->monitorMatchSubsystem, "udev_monitor_filter_add_match_subsystem_devtype") &&
        library.resolve(udev->monitorEnableReceiving, "udev_monitor_enable_receiving") &&
        library.resolve(udev->monitorFd, "udev_monitor_get_fd") &&
        library.resolve(udev->monitorReceiveDevice, "udev_monitor_receive_device") &&
        library.resolve(udev->monitorUnref, "udev_monitor_unref") &&
        library.resolve(udev->deviceAction, "udev_device_get_action") &&
        library.resolve(udev->deviceUnref, "udev_device_unref");
    if (!complete) {
        return {nullptr, "the udev library cannot be used: " + library.error()};
    }
    return {std::move(udev), {}};
}

} // namespace

const UdevLibrary* udevLibrary(std::string* error) {
    static const Loaded loaded = load();
    if (!loaded.udev && error != nullptr) {
        *error = loaded.error;
    }
    return loaded.udev.get();
}
