#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kMultiSelectSlots = 109;
inline constexpr ColorRef kMultiSelectColourKey = Rgb24(1, 3, 255);
// Image size at scale 1 (also the size without a background image).
inline constexpr int kMultiSelectWidth = 1252;
inline constexpr int kMultiSelectHeight = 456;

inline constexpr int kMsCmdClose = 88;
inline constexpr int kMsCmdSetColour = 97;

// Key elements sit in slots 4..106, key number k in slot 3 + k.
inline constexpr int kMultiSelectFirstKeySlot = 4;

// The 109 slots of the multi-key colour selection dialog, rectangles
// 1080-based.  Its keys are those of the backlight dialog, moved down.
SkinTable MultiSelectElements();
