#pragma once

// The scroll-bar skin: square cells the thickness of the bar, a row for each
// look and a column for each piece.  The bar draws from it, rescales it for
// other scales and the skin generator paints it, all by this one layout.
namespace scroll_bar_skin {

inline constexpr int kColumns = 9;
inline constexpr int kRows = 3;

enum Row { NormalRow, HoverRow, PressedRow };

// A vertical bar's pieces, then a horizontal bar's in the same order; the
// last column is unused.
enum Column {
    UpArrow,
    DownArrow,
    VerticalThumb,
    VerticalTrack,
    LeftArrow,
    RightArrow,
    HorizontalThumb,
    HorizontalTrack,
    Unused
};
inline constexpr int kHorizontalOffset = LeftArrow - UpArrow;

// The thumb's first and last pixels along the bar are copied as they are and
// only its middle is tiled, so a rounded end keeps its shape at any length.
inline constexpr int kThumbEnd = 3;

} // namespace scroll_bar_skin
