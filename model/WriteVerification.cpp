#include "model/WriteVerification.h"

#include "device/COrvoHWI.h"

#include <algorithm>

namespace {

constexpr int kKeysPerLayer = 103;

// KeyConfigArray kinds and the elements that hold their lengths.
constexpr int kKindNormal = 0;
constexpr int kKindContinuous = 1;
constexpr int kKindMacro = 2;

// The elements of a definition that getKeyConfiguration fills.  The delay of
// a macro's last action is never written back, so it is left out.
std::vector<int> definitionOf(COrvoHWI& device, int layer, int key, std::vector<int>& buffer) {
    std::fill(buffer.begin(), buffer.end(), 0);
    device.getKeyConfiguration(layer, key, buffer.data(), static_cast<int>(buffer.size()));
    std::size_t length = 1;
    switch (buffer[0]) {
    case kKindNormal:
        length = 2 + static_cast<std::size_t>(std::max(buffer[1], 0));
        break;
    case kKindContinuous:
        length = 3 + static_cast<std::size_t>(std::max(buffer[2], 0));
        break;
    case kKindMacro: {
        const auto actions = static_cast<std::size_t>(std::max(buffer[5], 0));
        length = buffer[3] == 1 ? 6 + 2 * actions - (actions > 0 ? 1 : 0) : 6 + actions;
        break;
    }
    default:
        break;
    }
    length = std::min(length, buffer.size());
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length)};
}

} // namespace

std::optional<std::vector<KeyOnLayer>> KeysThatDiffer(COrvoHWI& device, const WindowHandle& progress) {
    std::vector<int> buffer(kKeyConfigArrayLength);
    std::vector<std::vector<int>> sent;
    for (int key = 1; key <= kKeysPerLayer; ++key) {
        for (int layer = 0; layer <= 1; ++layer) {
            sent.push_back(definitionOf(device, layer, key, buffer));
        }
    }
    device.__closeDev();
    if (!device.__createDev() || !device.readKeyDefinationFromDev(progress)) {
        return std::nullopt;
    }
    std::vector<KeyOnLayer> differing;
    auto expected = sent.begin();
    for (int key = 1; key <= kKeysPerLayer; ++key) {
        for (int layer = 0; layer <= 1; ++layer) {
            if (definitionOf(device, layer, key, buffer) != *expected++) {
                differing.push_back({layer, key});
            }
        }
    }
    return differing;
}

std::optional<std::vector<int>> LightsThatDiffer(COrvoHWI& device) {
    std::vector<int> sent(kLightArrayLength);
    std::vector<int> held(kLightArrayLength);
    if (!device.getKeyboardLightArea(sent.data())) {
        return std::nullopt;
    }
    device.__closeDev();
    if (!device.__createDev() || !device.readKeyLightFromDev() || !device.getKeyboardLightArea(held.data())) {
        return std::nullopt;
    }
    std::vector<int> differing;
    for (int key = 1; key <= kKeysPerLayer; ++key) {
        const auto first = static_cast<std::ptrdiff_t>(3 * (key - 1));
        if (!std::equal(sent.begin() + first, sent.begin() + first + 3, held.begin() + first)) {
            differing.push_back(key);
        }
    }
    return differing;
}
