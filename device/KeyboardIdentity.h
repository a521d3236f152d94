#pragma once

#include "platform/HidTransport.h"

#include <cstdint>
#include <optional>
#include <vector>

inline constexpr std::uint16_t kKeyboardVendorId = 0x0483;
inline constexpr int kKeyboardInterface = 1;

// The product id tells the model; `ModelType` 0 means no keyboard.
struct KeyboardModel {
    std::uint16_t productId;
    int modelType;
};

inline constexpr KeyboardModel kKeyboardModels[] = {
    {0x5039, 1}, // ZarnRGB.BT
    {0x5139, 2}, // ZarnBT
    {0x5239, 3}, // Zarn
    {0x5339, 4}, // ZarnRGB
};

// 1..4 for an interface of this keyboard family, 0 for anything else.
int modelTypeOf(const HidDeviceInfo& device);

// The first interface of the family in enumeration order.
std::optional<HidDeviceInfo> findKeyboard(const std::vector<HidDeviceInfo>& devices);
std::optional<HidDeviceInfo> findKeyboard();
