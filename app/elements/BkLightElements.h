#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kBkLightSlots = 121;
inline constexpr ColorRef kBkLightColourKey = Rgb24(1, 3, 255);
// Image size at scale 1 (also the size without a background image).
inline constexpr int kBkLightWidth = 1252;
inline constexpr int kBkLightHeight = 470;

inline constexpr int kBlCmdClose = 88;
inline constexpr int kBlCmdRead = 89;
inline constexpr int kBlCmdDefault = 90;
inline constexpr int kBlCmdWrite = 91;
inline constexpr int kBlCmdCancel = 92;
inline constexpr int kBlCmdOk = 94;
inline constexpr int kBlCmdSetAll = 95;
inline constexpr int kBlCmdMultiKey = 97;

// Key elements sit in slots 16..118, key number k in slot 15 + k, id 99 + k.
inline constexpr int kBkLightFirstKeySlot = 16;

// The colour frame around a key reaches this far outside its rectangle.
inline constexpr int kKeyColourFrameWidth = 2;

// The 121 slots of the backlight settings dialog, rectangles 1080-based.
SkinTable BkLightElements();
