#pragma once

struct GuiContext;

// A full repaint of the backlight settings dialog, every key framed in a
// colour of its own, at the given ScaleFactor: the canvas built and
// stretched onto the window, and the canvas alone.
void BenchBkLightRepaint(GuiContext& context, float scale);
