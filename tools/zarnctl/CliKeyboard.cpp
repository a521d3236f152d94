#include "tools/zarnctl/CliKeyboard.h"

#include "model/Catalogue.h"

namespace {

constexpr std::uint16_t kVendorId = 0x0483;
constexpr int kInterfaceNumber = 1;

} // namespace

std::vector<KeyboardListing> ListKeyboards() {
    std::vector<KeyboardListing> found;
    for (const HidDeviceInfo& device : EnumerateHidDevices()) {
        if (device.vendorId != kVendorId || device.interfaceNumber != kInterfaceNumber) {
            continue;
        }
        const int modelType = ModelTypeOfProduct(device.productId);
        if (modelType != 0) {
            found.push_back({modelType, device});
        }
    }
    return found;
}

CliKeyboard::CliKeyboard() : doc_(std::make_unique<ConfigDocument>()) {
    doc_->BuildCatalogue();
    doc_->uiLanguage = "en-US";
}

bool CliKeyboard::detect(std::ostream& err) {
    doc_->modelType = doc_->device.DetectDeviceType();
    if (doc_->modelType == 0) {
        err << kNotConnectedMessage << '\n';
        return false;
    }
    doc_->ResetToDefaults();
    return true;
}

bool CliKeyboard::open(std::ostream& err) {
    return detect(err) && connect(err);
}

bool CliKeyboard::connect(std::ostream& err) {
    if (!doc_->device.__createDev()) {
        err << kNotConnectedMessage << '\n';
        return false;
    }
    return true;
}
