#pragma once

#include <QImage>

// The scroll-bar skin redrawn for another cell size, for a bar in a window
// shown at another scale (the skin comes drawn for scale 1).  Each cell is
// scaled on its own, so none bleeds into its neighbours, and the thumb cells
// keep their ends 3 pixels long along the bar, as the bar copies exactly 3
// pixels of each end and tiles the rest.  A null image for a skin without
// 9 x 3 cells or a cell size below 1.
QImage ScaledScrollBarSkin(const QImage& skin, int cell);
