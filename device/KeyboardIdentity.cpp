#include "device/KeyboardIdentity.h"

#include <algorithm>

int modelTypeOf(const HidDeviceInfo& device) {
    if (device.vendorId != kKeyboardVendorId || device.interfaceNumber != kKeyboardInterface) {
        return 0;
    }
    for (const KeyboardModel& model : kKeyboardModels) {
        if (model.productId == device.productId) {
            return model.modelType;
        }
    }
    return 0;
}

std::optional<HidDeviceInfo> findKeyboard(const std::vector<HidDeviceInfo>& devices) {
    const auto match = std::find_if(devices.begin(), devices.end(),
                                    [](const HidDeviceInfo& device) { return modelTypeOf(device) != 0; });
    if (match == devices.end()) {
        return std::nullopt;
    }
    return *match;
}

std::optional<HidDeviceInfo> findKeyboard() {
    return findKeyboard(EnumerateHidDevices());
}
