#include "device/COrvoHWI.h"

#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "device/FirmwareDownload.h"
#include "device/KeyConfigArray.h"
#include "device/KeyboardIdentity.h"

#include <algorithm>

namespace {

// The program numbers layers 0 and 1; the keyboard 1 and 2.
constexpr int kFirstProgramLayer = 0;
constexpr int kLastProgramLayer = 1;

bool validKey(int layer, int key) {
    return layer >= kFirstProgramLayer && layer <= kLastProgramLayer && key >= 1 && key <= kKeysPerLayer;
}

} // namespace

COrvoHWI::COrvoHWI() = default;

COrvoHWI::~COrvoHWI() {
    __closeDev();
}

bool COrvoHWI::__createDev() {
    if (transport_) {
        return true;
    }
    transport_ = openKeyboard();
    if (!transport_) {
        return false;
    }
    mirror_ = std::make_unique<COrvo>(*transport_, &cancelled_);
    return true;
}

bool COrvoHWI::__closeDev() {
    // The mirror refers to the transport: it goes first.
    mirror_.reset();
    transport_.reset();
    return true;
}

bool COrvoHWI::DetectDevice() {
    return findKeyboard().has_value();
}

int COrvoHWI::DetectDeviceType() {
    const auto keyboard = findKeyboard();
    return keyboard ? modelTypeOf(*keyboard) : 0;
}

HidFailure COrvoHWI::lastFailure() const {
    if (!transport_) {
        return {HidFailureKind::NotFound, {}, 0};
    }
    return transport_->lastFailure();
}

bool COrvoHWI::ReadKeyboardVersion(wchar_t* text) {
    return transport_ && text != nullptr && transport_->readVersion(text);
}

const wchar_t* COrvoHWI::getHardwareVersion() {
    if (transport_) {
        transport_->readVersion(versionText_);
    }
    return versionText_;
}

bool COrvoHWI::prepare() {
    if (!mirror_) {
        return false;
    }
    for (auto& slot : mirror_->KeySlotTable) {
        slot.reset();
    }
    return true;
}

bool COrvoHWI::setKeyConfiguration(int layer, int key, const int* config, int length) {
    if (!mirror_ || !validKey(layer, key)) {
        return false;
    }
    auto record = recordFromKeyConfig(layer + 1, key, config, length);
    if (!record) {
        return false;
    }
    mirror_->KeySlotTable[static_cast<std::size_t>(COrvo::slotOf(layer + 1, key))] = std::move(record);
    return true;
}

bool COrvoHWI::getKeyConfiguration(int layer, int key, int* config, int capacity) {
    if (!mirror_ || !validKey(layer, key)) {
        return false;
    }
    const auto& slot = mirror_->KeySlotTable[static_cast<std::size_t>(COrvo::slotOf(layer + 1, key))];
    return keyConfigFromRecord(slot.get(), config, capacity);
}

bool COrvoHWI::writeKeyConfigurationToDev(const WindowHandle& window) {
    return mirror_ && mirror_->writeKeyTable(window);
}

bool COrvoHWI::readKeyDefinationFromDev(const WindowHandle& window) {
    return mirror_ && mirror_->readKeyTable(window);
}

bool COrvoHWI::setKeyboardLightArea(const int* lights) {
    if (!mirror_ || lights == nullptr) {
        return false;
    }
    std::transform(lights, lights + kLightArrayLength, mirror_->LightArea.begin(),
                   [](int value) { return static_cast<std::uint8_t>(value); });
    return mirror_->writeLightArea();
}

bool COrvoHWI::getKeyboardLightArea(int* lights) {
    if (!mirror_ || lights == nullptr) {
        return false;
    }
    std::copy(mirror_->LightArea.begin(), mirror_->LightArea.end(), lights);
    return true;
}

bool COrvoHWI::readKeyLightFromDev() {
    return mirror_ && mirror_->readLightArea();
}

bool COrvoHWI::getPressCounterFromDev(int* counters) {
    if (!mirror_ || counters == nullptr) {
        return false;
    }
    const bool read = mirror_->readPressCounters();
    const auto& bytes = mirror_->PressCounters;
    for (int key = 0; key < kCounterArrayLength; ++key) {
        const auto at = static_cast<std::size_t>(4 * key);
        const std::uint32_t value = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                    static_cast<std::uint32_t>(bytes[at + 3]) << 24;
        counters[key] = static_cast<int>(value);
    }
    return read;
}

int COrvoHWI::receivedKeyCount() const {
    return mirror_ ? mirror_->keysReceived() : 0;
}

int COrvoHWI::receivedLightBytes() const {
    return mirror_ ? mirror_->lightBytesReceived() : 0;
}

int COrvoHWI::receivedCounterBytes() const {
    return mirror_ ? mirror_->counterBytesReceived() : 0;
}

bool COrvoHWI::WriteFirmwareToKeyboard(const char* text, std::size_t size, const WindowHandle& window) {
    return transport_ && downloadFirmware(*transport_, text, size, window);
}
