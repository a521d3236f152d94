#pragma once

#include <cstdint>

// A key as the original platform's key messages name it: the virtual-key
// code and whether the key is one of the "extended" keys (the right-hand
// Ctrl and Alt, the arrow and editing block, keypad Enter and /, ...).
struct VirtualKey {
    std::uint32_t vkCode = 0;
    bool extended = false;

    friend bool operator==(const VirtualKey&, const VirtualKey&) = default;
};
