#include "tools/zarnctl/CliKeyboard.h"

#include "model/Catalogue.h"
#include "model/DeviceFailureText.h"
#include "tools/zarnctl/ExitStatus.h"

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
    // A keyboard that is present but cannot be opened still gives a device.
    const HidFailure failure = doc_->device.lastFailure();
    if (failure.failed()) {
        err << DescribeDeviceFailure(failure, doc_->uiLanguage) << '\n';
        return false;
    }
    return true;
}

int CliKeyboard::failed(std::ostream& err, const std::string& what) const {
    err << what << '\n';
    const HidFailure failure = doc_->device.lastFailure();
    if (const std::string reason = DescribeDeviceFailure(failure, doc_->uiLanguage); !reason.empty()) {
        err << reason << '\n';
    }
    return IsAccessFailure(failure) ? kExitNoKeyboard : kExitDeviceFailed;
}
