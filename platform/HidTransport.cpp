#include "platform/HidTransport.h"

#include "platform/HidapiBackend.h"
#include "platform/VirtualHid.h"

std::vector<HidDeviceInfo> EnumerateHidDevices() {
    std::vector<HidDeviceInfo> devices = EnumerateVirtualHid();
    for (auto& device : EnumerateHidapi()) {
        devices.push_back(std::move(device));
    }
    return devices;
}

std::unique_ptr<HidConnection> OpenHidDevice(const HidDeviceInfo& device, HidFailure* failure) {
    HidFailure ignored;
    HidFailure& why = failure ? *failure : ignored;
    why = {};
    switch (device.backend) {
    case HidBackend::Virtual:
        return OpenVirtualHid(device.path, &why);
    case HidBackend::Hidraw:
        return OpenHidapi(device.path, &why);
    }
    return nullptr;
}
