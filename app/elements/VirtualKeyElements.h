#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kVirtualKeySlots = 110;
inline constexpr ColorRef kVirtualKeyColourKey = Rgb24(0, 0, 255);
// Image size at scale 1 (also the size without a background image).
inline constexpr int kVirtualKeyWidth = 930;
inline constexpr int kVirtualKeyHeight = 352;

inline constexpr int kVkCmdClose = 88;
inline constexpr int kVkCmdOk = 89;
inline constexpr int kVkCmdCancel = 90;
inline constexpr int kVkFirstKeyId = 100;
inline constexpr int kVkLastKeyId = 203;

// The read-only display edit, 1080-based x, y, width, height; the dialog scales it.
inline constexpr SkinRect kVirtualKeyDisplayRect{20, 305, 520, 337};
inline constexpr int kVirtualKeyDisplayFontIndex = 15;

// A key element carries its device code in `keyNumber`: ids 100..173 are
// codes 1..74 and ids 174..203 codes 78..107 (75..77 are the power keys,
// which have no cap on this keyboard).
constexpr int VirtualKeyCodeOfId(int id) {
    return id < 174 ? id - 99 : id - 96;
}

// The 110 slots of the virtual key input dialog, rectangles 1080-based.
SkinTable VirtualKeyElements();
