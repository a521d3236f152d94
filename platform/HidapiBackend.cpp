#include "platform/HidapiBackend.h"

#include "platform/HidapiLibrary.h"
#include "platform/TransferLock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Full-speed USB interrupt reports are at most 64 bytes; hidraw may deliver
// up to 4 KB for other devices.
constexpr std::size_t kLongestReport = 4096;

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(const HidapiLibrary& hidapi, hid_device* device, const std::string& path)
        : hidapi_(hidapi), device_(device), path_(path), lock_(TransferLock::Kind::DeviceNode, path) {}
    ~HidapiConnection() override { hidapi_.close(device_); }
    HidapiConnection(const HidapiConnection&) = delete;
    HidapiConnection& operator=(const HidapiConnection&) = delete;

    bool write(const std::uint8_t* report, std::size_t length) override {
        if (report == nullptr) {
            return false;
        }
        if (hidapi_.write(device_, report, length) < 0) {
            const int error = errno;
            failure_ = {HidFailureKindOf(error), path_, error};
            return false;
        }
        return true;
    }

    // hidraw delivers the reports of a device without numbered reports
    // without their id; put the id 0 back so both backends read alike.
    // hidraw cuts a report to the buffer silently: a buffer larger than any
    // report the keyboard should send lets a longer one show its length.
    int read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        if (report == nullptr || capacity < 2) {
            return -1;
        }
        std::array<std::uint8_t, kLongestReport> buffer{};
        const int received = hidapi_.readTimeout(device_, buffer.data(), buffer.size(), timeoutMs);
        if (received <= 0) {
            // hidapi says 0 for a time-out, -1 for a node that hung up or failed.
            failure_ = {received == 0 ? HidFailureKind::NoAnswer : HidFailureKind::Gone, path_, 0};
            return -1;
        }
        report[0] = 0;
        std::copy_n(buffer.begin(), std::min<std::size_t>(static_cast<std::size_t>(received), capacity - 1),
                    report + 1);
        return received + 1;
    }

    HidFailure lastFailure() const override { return failure_; }
    HidFailure beginTransfer() override { return lock_.acquire(); }
    void endTransfer() override { lock_.release(); }

private:
    const HidapiLibrary& hidapi_;
    hid_device* device_;
    std::string path_;
    TransferLock lock_;
    HidFailure failure_;
};

// The node is opened once ahead of hidapi, for two reasons: hidapi keeps no
// reason for a failed open that a caller could read, and it crashes when
// asked to open anything but a hidraw node (it frees a half-made device after
// the report-descriptor ioctl fails).  So a node must open, be a character
// device, and be one that sysfs files under hidraw where it says.
HidFailure checkNode(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        return {HidFailureKindOf(error), path, error};
    }
    struct stat info {};
    const bool character = ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode);
    ::close(fd);
    if (!character) {
        return {HidFailureKind::SystemError, path, ENOTTY};
    }
    char link[64];
    std::snprintf(link, sizeof link, "/sys/dev/char/%u:%u/subsystem", ::major(info.st_rdev),
                  ::minor(info.st_rdev));
    char target[256];
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    if (length > 0) {
        const std::string subsystem(target, static_cast<std::size_t>(length));
        if (subsystem.substr(subsystem.find_last_of('/') + 1) != "hidraw") {
            return {HidFailureKind::SystemError, path, ENOTTY};
        }
    }
    return {};
}

} // namespace

std::vector<HidDeviceInfo> EnumerateHidapi() {
    std::vector<HidDeviceInfo> devices;
    const HidapiLibrary* hidapi = hidapiLibrary();
    if (hidapi == nullptr) {
        return devices;
    }
    hid_device_info* list = hidapi->enumerate(0, 0);
    for (const hid_device_info* entry = list; entry != nullptr; entry = entry->next) {
        if (entry->path == nullptr) {
            continue;
        }
        HidDeviceInfo info;
        info.backend = HidBackend::Hidraw;
        info.path = entry->path;
        info.vendorId = entry->vendor_id;
        info.productId = entry->product_id;
        info.interfaceNumber = entry->interface_number;
        devices.push_back(std::move(info));
    }
    hidapi->freeEnumeration(list);
    return devices;
}

std::unique_ptr<HidConnection> OpenHidapi(const std::string& path, HidFailure* failure) {
    HidFailure ignored;
    HidFailure& why = failure ? *failure : ignored;
    const HidapiLibrary* hidapi = hidapiLibrary();
    if (hidapi == nullptr) {
        why = {HidFailureKind::SystemError, path, ENOSYS};
        return nullptr;
    }
    why = checkNode(path);
    if (why.failed()) {
        return nullptr;
    }
    hid_device* device = hidapi->openPath(path.c_str());
    if (device == nullptr) {
        // It opened a moment ago: it went away since, or someone took it.
        why = checkNode(path);
        if (!why.failed()) {
            why = {HidFailureKind::SystemError, path, EIO};
        }
        return nullptr;
    }
    why = {};
    return std::make_unique<HidapiConnection>(*hidapi, device, path);
}
