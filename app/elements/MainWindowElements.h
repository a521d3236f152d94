#pragma once

#include "app/elements/SkinItem.h"

#include <array>

inline constexpr int kMainWindowSlots = 140;
inline constexpr ColorRef kMainWindowColourKey = Rgb24(0, 0, 255);
// The size the main window's images are drawn at (scale 1); a window whose
// background image is missing takes this size instead.
inline constexpr int kMainWindowWidth = 1280;
inline constexpr int kMainWindowHeight = 670;

// Command ids of the main window.
inline constexpr int kCmdLanguage = 85;
inline constexpr int kCmdReadCounters = 86;
inline constexpr int kCmdHelp = 87;
inline constexpr int kCmdHide = 88;
inline constexpr int kCmdExit = 89;
inline constexpr int kCmdSaveProfile = 90;
inline constexpr int kCmdOpenProfile = 91;
inline constexpr int kCmdDefaults = 92;
inline constexpr int kCmdWriteKeys = 93;
inline constexpr int kCmdBacklight = 94;
inline constexpr int kCmdReadAll = 95;
inline constexpr int kCmdFirmware = 96;
inline constexpr int kCmdLayer = 97;

// Labels whose colour follows the layer switch.
inline constexpr int kLabelTopLayer = 77;
inline constexpr int kLabelFnLayer = 78;

// Key elements are id 99 + key number.
inline constexpr int kFirstKeyElementId = 100;
inline constexpr int KeyElementId(int keyNumber) {
    return 99 + keyNumber;
}

// The status box (a read-only edit), 1080-based; the window scales it.
inline constexpr SkinRect kMainStatusBoxRect{27, 568, 1250, 650};
inline constexpr int kMainStatusFontIndex = 13;

// Marker colour of an assignment type (index = keyMode); 0 and 1 get no marker.
inline constexpr std::array<ColorRef, 9> kModeColours = {
    0,                  // 0 Not set: no marker
    0,                  // 1 Single: no marker
    Rgb24(255, 255, 0), // 2 Combo, yellow
    Rgb24(0, 255, 0),   // 3 Macro, green
    Rgb24(128, 128, 0), // 4 Emulation, olive
    Rgb24(255, 0, 255), // 5 Multimedia, magenta
    Rgb24(10, 10, 255), // 6 Mouse, blue
    Rgb24(0, 255, 255), // 7 Function, cyan
    Rgb24(255, 0, 0),   // 8 Power, red
};

// Models 2 and 3 have no backlight: their command row has no 94 and the
// buttons after it move one place to the left.
bool MainWindowHasBacklight(int modelType);

// The 140 slots of the main window for a ModelType, rectangles 1080-based;
// unused slots keep id -1.
SkinTable MainWindowElements(int modelType);
