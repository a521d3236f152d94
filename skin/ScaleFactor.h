#pragma once

// The interface scale of a screen of the given height: 1 below 1080 lines,
// else the first half step from 1.5 to 5 not below height / 1080, else the
// ratio itself.
float ComputeScaleFactor(int screenHeight);

// A 1080-based coordinate in window pixels, truncated toward zero.
int Scaled(int value, float scale);
// A window coordinate back in image pixels, truncated toward zero.
int Unscaled(int value, float scale);
