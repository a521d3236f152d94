#include "platform/EvdevKeyTable.h"
#include "platform/KeyMessageKinds.h"
#include "platform/KeyboardCapture.h"
#include "platform/X11KeyTable.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <ostream>

namespace {

struct KeyCase {
    const char* name;
    unsigned long keysym;
    unsigned evdevCode;
    std::uint32_t vkCode;
    bool extended;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

// One row per key: the X11 and the evdev source must agree on it.
const KeyCase kKeys[] = {
    {"A", 0x61, KEY_A, 0x41, false},
    {"Z", 0x7a, KEY_Z, 0x5A, false},
    {"Digit0", 0x30, KEY_0, 0x30, false},
    {"Digit9", 0x39, KEY_9, 0x39, false},
    {"F1", 0xffbe, KEY_F1, 0x70, false},
    {"F12", 0xffc9, KEY_F12, 0x7B, false},
    {"F24", 0xffd5, KEY_F24, 0x87, false},
    {"Escape", 0xff1b, KEY_ESC, 0x1B, false},
    {"Space", 0x20, KEY_SPACE, 0x20, false},
    {"Return", 0xff0d, KEY_ENTER, 0x0D, false},
    {"KeypadEnter", 0xff8d, KEY_KPENTER, 0x0D, true},
    {"ShiftLeft", 0xffe1, KEY_LEFTSHIFT, 0xA0, false},
    {"ShiftRight", 0xffe2, KEY_RIGHTSHIFT, 0xA1, false},
    {"ControlLeft", 0xffe3, KEY_LEFTCTRL, 0xA2, false},
    {"ControlRight", 0xffe4, KEY_RIGHTCTRL, 0xA3, true},
    {"AltLeft", 0xffe9, KEY_LEFTALT, 0xA4, false},
    {"AltRight", 0xffea, KEY_RIGHTALT, 0xA5, true},
    {"SuperLeft", 0xffeb, KEY_LEFTMETA, 0x5B, true},
    {"Menu", 0xff67, KEY_COMPOSE, 0x5D, true},
    {"Left", 0xff51, KEY_LEFT, 0x25, true},
    {"Up", 0xff52, KEY_UP, 0x26, true},
    {"Right", 0xff53, KEY_RIGHT, 0x27, true},
    {"Down", 0xff54, KEY_DOWN, 0x28, true},
    {"Insert", 0xff63, KEY_INSERT, 0x2D, true},
    {"Delete", 0xffff, KEY_DELETE, 0x2E, true},
    {"Home", 0xff50, KEY_HOME, 0x24, true},
    {"End", 0xff57, KEY_END, 0x23, true},
    {"PageUp", 0xff55, KEY_PAGEUP, 0x21, true},
    {"PageDown", 0xff56, KEY_PAGEDOWN, 0x22, true},
    {"PrintScreen", 0xff61, KEY_SYSRQ, 0x2C, true},
    {"NumLock", 0xff7f, KEY_NUMLOCK, 0x90, true},
    {"ScrollLock", 0xff14, KEY_SCROLLLOCK, 0x91, false},
    {"Pause", 0xff13, KEY_PAUSE, 0x13, false},
    {"CapsLock", 0xffe5, KEY_CAPSLOCK, 0x14, false},
    {"Keypad7", 0xffb7, KEY_KP7, 0x67, false},
    {"KeypadDivide", 0xffaf, KEY_KPSLASH, 0x6F, true},
    {"KeypadMultiply", 0xffaa, KEY_KPASTERISK, 0x6A, false},
    {"KeypadDecimal", 0xffae, KEY_KPDOT, 0x6E, false},
    {"Semicolon", 0x3b, KEY_SEMICOLON, 0xBA, false},
    {"Grave", 0x60, KEY_GRAVE, 0xC0, false},
    {"Backslash", 0x5c, KEY_BACKSLASH, 0xDC, false},
    {"IsoExtraKey", 0x3c, KEY_102ND, 0xE2, false},
    {"VolumeUp", 0x1008ff13, KEY_VOLUMEUP, 0xAF, true},
    {"NextTrack", 0x1008ff17, KEY_NEXTSONG, 0xB0, true},
};

class KeyTableTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTableTest, BothSourcesGiveTheVirtualKeyAndExtendedFlag) {
    const auto& c = GetParam();
    const VirtualKey expected{c.vkCode, c.extended};
    EXPECT_EQ(virtualKeyFromKeysym(c.keysym), expected);
    EXPECT_EQ(virtualKeyFromEvdev(c.evdevCode), expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTableTest, ::testing::ValuesIn(kKeys),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(KeyTable, X11OnlyKeysymsAndUnknownCodes) {
    EXPECT_EQ(virtualKeyFromKeysym('A'), (VirtualKey{0x41, false}));    // upper-case keysym, same key
    EXPECT_EQ(virtualKeyFromKeysym(0xff95), (VirtualKey{0x24, false})); // KP_Home: keypad 7 without NumLock
    EXPECT_EQ(virtualKeyFromKeysym(0xfe03), (VirtualKey{0xA5, true}));  // AltGr
    EXPECT_FALSE(virtualKeyFromKeysym(0));
    EXPECT_FALSE(virtualKeyFromKeysym(0x00e9)); // eacute: no key message of its own
    EXPECT_FALSE(virtualKeyFromEvdev(0));
    EXPECT_FALSE(virtualKeyFromEvdev(KEY_MAX));
}

struct KindStep {
    std::uint32_t vkCode;
    bool down;
    unsigned message;
};

TEST(KeyMessageKindsTest, AltMakesSystemKeysUnlessCtrlIsHeld) {
    const std::vector<std::pair<const char*, std::vector<KindStep>>> sequences = {
        {"plain key", {{0x41, true, WM_KEYDOWN}, {0x41, false, WM_KEYUP}}},
        {"alt tap", {{0xA4, true, WM_SYSKEYDOWN}, {0xA4, false, WM_SYSKEYUP}}},
        {"alt+a",
         {{0xA4, true, WM_SYSKEYDOWN},
          {0x41, true, WM_SYSKEYDOWN},
          {0x41, false, WM_SYSKEYUP},
          {0xA4, false, WM_SYSKEYUP},
          {0x41, true, WM_KEYDOWN}}},
        {"right alt", {{0xA5, true, WM_SYSKEYDOWN}, {0x42, true, WM_SYSKEYDOWN}, {0xA5, false, WM_SYSKEYUP}}},
        {"ctrl+alt+del",
         {{0xA2, true, WM_KEYDOWN},
          {0xA4, true, WM_KEYDOWN},
          {0x2E, true, WM_KEYDOWN},
          {0xA2, false, WM_KEYUP},
          {0x2E, false, WM_SYSKEYUP}}},
    };
    for (const auto& [name, steps] : sequences) {
        KeyMessageKinds kinds;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(kinds.next(steps[i].vkCode, steps[i].down), steps[i].message) << name << " step " << i;
        }
    }
}

} // namespace
