#include "platform/X11KeyTable.h"

#include <algorithm>
#include <array>

namespace {

struct KeysymEntry {
    unsigned long keysym;
    VirtualKey key;
};

constexpr VirtualKey vk(std::uint32_t code) {
    return {code, false};
}
constexpr VirtualKey extendedVk(std::uint32_t code) {
    return {code, true};
}

// Keysyms outside the contiguous ranges handled in code (letters, digits,
// F1..F24, keypad digits), sorted by keysym for the binary search.
constexpr std::array kKeysyms = std::to_array<KeysymEntry>({
    {0x0020, vk(0x20)},             // space
    {0x0027, vk(0xDE)},             // apostrophe
    {0x002c, vk(0xBC)},             // comma
    {0x002d, vk(0xBD)},             // minus
    {0x002e, vk(0xBE)},             // period
    {0x002f, vk(0xBF)},             // slash
    {0x003b, vk(0xBA)},             // semicolon
    {0x003c, vk(0xE2)},             // less: the extra key of ISO layouts
    {0x003d, vk(0xBB)},             // equal
    {0x005b, vk(0xDB)},             // bracketleft
    {0x005c, vk(0xDC)},             // backslash
    {0x005d, vk(0xDD)},             // bracketright
    {0x0060, vk(0xC0)},             // grave
    {0xfe03, extendedVk(0xA5)},     // ISO_Level3_Shift (AltGr)
    {0xfe20, vk(0x09)},             // ISO_Left_Tab (Shift+Tab)
    {0xff08, vk(0x08)},             // BackSpace
    {0xff09, vk(0x09)},             // Tab
    {0xff0d, vk(0x0D)},             // Return
    {0xff13, vk(0x13)},             // Pause
    {0xff14, vk(0x91)},             // Scroll_Lock
    {0xff15, extendedVk(0x2C)},     // Sys_Req
    {0xff1b, vk(0x1B)},             // Escape
    {0xff50, extendedVk(0x24)},     // Home
    {0xff51, extendedVk(0x25)},     // Left
    {0xff52, extendedVk(0x26)},     // Up
    {0xff53, extendedVk(0x27)},     // Right
    {0xff54, extendedVk(0x28)},     // Down
    {0xff55, extendedVk(0x21)},     // Prior (Page Up)
    {0xff56, extendedVk(0x22)},     // Next (Page Down)
    {0xff57, extendedVk(0x23)},     // End
    {0xff61, extendedVk(0x2C)},     // Print
    {0xff63, extendedVk(0x2D)},     // Insert
    {0xff67, extendedVk(0x5D)},     // Menu
    {0xff6b, extendedVk(0x03)},     // Break
    {0xff7f, extendedVk(0x90)},     // Num_Lock
    {0xff8d, extendedVk(0x0D)},     // KP_Enter
    {0xff95, vk(0x24)},             // KP_Home
    {0xff96, vk(0x25)},             // KP_Left
    {0xff97, vk(0x26)},             // KP_Up
    {0xff98, vk(0x27)},             // KP_Right
    {0xff99, vk(0x28)},             // KP_Down
    {0xff9a, vk(0x21)},             // KP_Prior
    {0xff9b, vk(0x22)},             // KP_Next
    {0xff9c, vk(0x23)},             // KP_End
    {0xff9d, vk(0x0C)},             // KP_Begin (keypad 5 without NumLock)
    {0xff9e, vk(0x2D)},             // KP_Insert
    {0xff9f, vk(0x2E)},             // KP_Delete
    {0xffaa, vk(0x6A)},             // KP_Multiply
    {0xffab, vk(0x6B)},             // KP_Add
    {0xffac, vk(0x6C)},             // KP_Separator
    {0xffad, vk(0x6D)},             // KP_Subtract
    {0xffae, vk(0x6E)},             // KP_Decimal
    {0xffaf, extendedVk(0x6F)},     // KP_Divide
    {0xffe1, vk(0xA0)},             // Shift_L
    {0xffe2, vk(0xA1)},             // Shift_R
    {0xffe3, vk(0xA2)},             // Control_L
    {0xffe4, extendedVk(0xA3)},     // Control_R
    {0xffe5, vk(0x14)},             // Caps_Lock
    {0xffe7, vk(0xA4)},             // Meta_L
    {0xffe8, extendedVk(0xA5)},     // Meta_R
    {0xffe9, vk(0xA4)},             // Alt_L
    {0xffea, extendedVk(0xA5)},     // Alt_R
    {0xffeb, extendedVk(0x5B)},     // Super_L
    {0xffec, extendedVk(0x5C)},     // Super_R
    {0xffff, extendedVk(0x2E)},     // Delete
    {0x1008ff11, extendedVk(0xAE)}, // XF86AudioLowerVolume
    {0x1008ff12, extendedVk(0xAD)}, // XF86AudioMute
    {0x1008ff13, extendedVk(0xAF)}, // XF86AudioRaiseVolume
    {0x1008ff14, extendedVk(0xB3)}, // XF86AudioPlay
    {0x1008ff15, extendedVk(0xB2)}, // XF86AudioStop
    {0x1008ff16, extendedVk(0xB1)}, // XF86AudioPrev
    {0x1008ff17, extendedVk(0xB0)}, // XF86AudioNext
    {0x1008ff18, extendedVk(0xAC)}, // XF86HomePage
    {0x1008ff19, extendedVk(0xB4)}, // XF86Mail
    {0x1008ff1b, extendedVk(0xAA)}, // XF86Search
    {0x1008ff1d, extendedVk(0xB7)}, // XF86Calculator
    {0x1008ff26, extendedVk(0xA6)}, // XF86Back
    {0x1008ff27, extendedVk(0xA7)}, // XF86Forward
    {0x1008ff28, extendedVk(0xA9)}, // XF86Stop
    {0x1008ff29, extendedVk(0xA8)}, // XF86Refresh
    {0x1008ff2f, extendedVk(0x5F)}, // XF86Sleep
    {0x1008ff30, extendedVk(0xAB)}, // XF86Favorites
    {0x1008ff32, extendedVk(0xB5)}, // XF86AudioMedia
    {0x1008ff33, extendedVk(0xB6)}, // XF86MyComputer
});

static_assert(std::is_sorted(kKeysyms.begin(), kKeysyms.end(),
                             [](const auto& a, const auto& b) { return a.keysym < b.keysym; }));

} // namespace

std::optional<VirtualKey> virtualKeyFromKeysym(unsigned long keysym) {
    if (keysym >= 'a' && keysym <= 'z') {
        return vk(static_cast<std::uint32_t>(keysym - 'a' + 'A'));
    }
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9')) {
        return vk(static_cast<std::uint32_t>(keysym));
    }
    if (keysym >= 0xffbe && keysym <= 0xffd5) { // F1..F24
        return vk(static_cast<std::uint32_t>(0x70 + keysym - 0xffbe));
    }
    if (keysym >= 0xffb0 && keysym <= 0xffb9) { // KP_0..KP_9
        return vk(static_cast<std::uint32_t>(0x60 + keysym - 0xffb0));
    }
    const auto* it =
        std::lower_bound(kKeysyms.begin(), kKeysyms.end(), keysym,
                         [](const KeysymEntry& entry, unsigned long value) { return entry.keysym < value; });
    if (it == kKeysyms.end() || it->keysym != keysym) {
        return std::nullopt;
    }
    return it->key;
}
