#include "platform/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <mutex>

namespace {

bool initialiseHidapi() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = hid_init() == 0; });
    return ready;
}

class HidapiConnection : public HidConnection {
public:
    explicit HidapiConnection(hid_device* device) : device_(device) {}
    ~HidapiConnection() override { hid_close(device_); }
    HidapiConnection(const HidapiConnection&) = delete;
    HidapiConnection& operator=(const HidapiConnection&) = delete;

    bool write(const std::uint8_t* report, std::size_t length) override {
        return report != nullptr && hid_write(device_, report, length) >= 0;
    }

    // hidraw delivers the reports of a device without numbered reports
    // without their id; put the id 0 back so both backends read alike.
    int read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        if (report == nullptr || capacity < 2) {
            return -1;
        }
        const int received = hid_read_timeout(device_, report + 1, capacity - 1, timeoutMs);
        if (received <= 0) {
            return -1;
        }
        report[0] = 0;
        return received + 1;
    }

private:
    hid_device* device_;
};

} // namespace

std::vector<HidDeviceInfo> EnumerateHidapi() {
    std::vector<HidDeviceInfo> devices;
    if (!initialiseHidapi()) {
        return devices;
    }
    hid_device_info* list = hid_enumerate(0, 0);
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
    hid_free_enumeration(list);
    return devices;
}

std::unique_ptr<HidConnection> OpenHidapi(const std::string& path) {
    if (!initialiseHidapi()) {
        return nullptr;
    }
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidapiConnection>(device);
}
