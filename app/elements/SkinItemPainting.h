#pragma once

#include "app/elements/SkinItem.h"

#include <QColor>
#include <Qt>

// The element tables stay plain data; the windows, the skin generator and
// its preview all read their colours and text formats through these, so a
// caption sits and looks the same in every one of them.

inline QColor ToQColor(ColorRef colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// Qt's alignment flags for an element's text format.
inline int ToQtAlignment(int textFormat) {
    const int vertical = (textFormat & kTextVCentre) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
    switch (textFormat & kTextHorizontalMask) {
    case kTextCentre:
        return vertical | Qt::AlignHCenter;
    case kTextRight:
        return vertical | Qt::AlignRight;
    default:
        return vertical | Qt::AlignLeft;
    }
}
