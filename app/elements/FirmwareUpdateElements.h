#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kFirmwareSlots = 107;
inline constexpr ColorRef kFirmwareColourKey = Rgb24(255, 0, 0);
// Image size at scale 1 (also the size without a background image).
inline constexpr int kFirmwareWidth = 370;
inline constexpr int kFirmwareHeight = 250;

inline constexpr int kFirmwareCmdClose = 89;
inline constexpr int kFirmwareCmdGetVersion = 90;
inline constexpr int kFirmwareCmdOpen = 91;
inline constexpr int kFirmwareCmdUpdate = 92;
inline constexpr int kFirmwareCmdCancel = 93;

// The two read-only edits, 1080-based; the dialog scales them.
inline constexpr SkinRect kFirmwareVersionEditRect{44, 78, 206, 96};
inline constexpr SkinRect kFirmwarePathEditRect{112, 116, 255, 135};
inline constexpr int kFirmwareEditFontIndex = 13;

// The area repainted on every progress message (the bar of the progress dialog's geometry).
inline constexpr SkinRect kFirmwareBarArea{40, 150, 330, 172};

// The 107 slots of the firmware update dialog, rectangles 1080-based; eleven are used.
SkinTable FirmwareUpdateElements();
