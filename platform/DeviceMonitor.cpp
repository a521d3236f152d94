#include "platform/DeviceMonitor.h"

#include "platform/UdevLibrary.h"
#include "platform/VirtualHid.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <set>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Virtual keyboards announce nothing when they go: their sockets are probed
// this often.  Half a second feels immediate to a person pulling a plug.
constexpr int kVirtualProbeMs = 500;

// Only what the loaded library made is ever handed to these.
struct UdevDeleter {
    void operator()(udev* u) const { udevLibrary()->unref(u); }
    void operator()(udev_monitor* m) const { udevLibrary()->monitorUnref(m); }
    void operator()(udev_device* d) const { udevLibrary()->deviceUnref(d); }
};

std::set<std::string> presentVirtualKeyboards() {
    std::set<std::string> paths;
    for (const auto& device : EnumerateVirtualHid()) {
        paths.insert(device.path);
    }
    return paths;
}

class HidDeviceMonitor final : public DeviceMonitor {
public:
    HidDeviceMonitor(std::function<void()> onChange, int wakeRead, int wakeWrite)
        : onChange_(std::move(onChange)), wakeRead_(wakeRead), wakeWrite_(wakeWrite) {
        openUdev();
        virtualPresent_ = presentVirtualKeyboards();
        thread_ = std::thread([this] { watch(); });
    }

    ~HidDeviceMonitor() override {
        stopping_ = true;
        const char byte = 1;
        [[maybe_unused]] const auto n = ::write(wakeWrite_, &byte, 1);
        thread_.join();
        ::close(wakeRead_);
        ::close(wakeWrite_);
    }

private:
    // Without udev (a container, a minimal system) virtual keyboards are
    // still watched.
    void openUdev() {
        const UdevLibrary* lib = udevLibrary();
        if (lib == nullptr) {
            return;
        }
        udev_.reset(lib->create());
        if (!udev_) {
            return;
        }
        monitor_.reset(lib->monitorFromNetlink(udev_.get(), "udev"));
        if (!monitor_ || lib->monitorMatchSubsystem(monitor_.get(), "hidraw", nullptr) < 0 ||
            lib->monitorEnableReceiving(monitor_.get()) < 0) {
            monitor_.reset();
        }
    }

    void watch() {
        pollfd fds[2] = {{wakeRead_, POLLIN, 0},
                         {monitor_ ? udevLibrary()->monitorFd(monitor_.get()) : -1, POLLIN, 0}};
        auto nextProbe = std::chrono::steady_clock::now() + std::chrono::milliseconds(kVirtualProbeMs);
        while (!stopping_) {
            ::poll(fds, 2, PollTimeoutMs(nextProbe - std::chrono::steady_clock::now()));
            if (stopping_) {
                return;
            }
            if (fds[1].revents & POLLIN) {
                takeUdevEvents();
            }
            if (std::chrono::steady_clock::now() >= nextProbe) {
                probeVirtualKeyboards();
                nextProbe = std::chrono::steady_clock::now() + std::chrono::milliseconds(kVirtualProbeMs);
            }
        }
    }

    void takeUdevEvents() {
        bool changed = false;
        while (std::unique_ptr<udev_device, UdevDeleter> device{
            udevLibrary()->monitorReceiveDevice(monitor_.get())}) {
            const char* action = udevLibrary()->deviceAction(device.get());
            const std::string what = action ? action : "";
            changed = changed || what == "add" || what == "remove";
        }
        if (changed) {
            onChange_();
        }
    }

    void probeVirtualKeyboards() {
        auto present = presentVirtualKeyboards();
        if (present != virtualPresent_) {
            virtualPresent_ = std::move(present);
            onChange_();
        }
    }

    std::function<void()> onChange_;
    int wakeRead_;
    int wakeWrite_;
    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    std::set<std::string> virtualPresent_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace

int PollTimeoutMs(std::chrono::nanoseconds remaining) {
    if (remaining <= std::chrono::nanoseconds::zero()) {
        return 0;
    }
    const auto rounded = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return static_cast<int>(std::min<long long>(rounded, std::numeric_limits<int>::max()));
}

std::unique_ptr<DeviceMonitor> StartDeviceMonitor(std::function<void()> onChange) {
    if (!onChange) {
        return nullptr;
    }
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return nullptr;
    }
    return std::make_unique<HidDeviceMonitor>(std::move(onChange), wake[0], wake[1]);
}
