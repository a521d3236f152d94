#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kProgressSlots = 107;
inline constexpr ColorRef kProgressColourKey = Rgb24(255, 0, 0);
// Image size at scale 1 (also the size without a background image).
inline constexpr int kProgressWidth = 370;
inline constexpr int kProgressHeight = 250;

inline constexpr int kProgressCmdClose = 89;
inline constexpr int kProgressCmdCancel = 93;

// The bar is copied from the active image: left edge, top and height fixed,
// width progressValue x kBarFullWidth / 100 (not limited to the full width).
inline constexpr int kBarLeft = 40;
inline constexpr int kBarTop = 150;
inline constexpr int kBarHeight = 22;
inline constexpr int kBarFullWidth = 290;

// The 107 slots of the progress dialog, rectangles 1080-based; five are used.
SkinTable ProgressElements();
