#include "lighting/KeyColourFrame.h"

#include "app/elements/BkLightElements.h"

#include <QPainter>

namespace {

int truncated(float value) {
    return static_cast<int>(value);
}

// The rectangle from corner (x1, y1) to (x2, y2), the far corner outside it.
QRect fromCorners(float x1, float y1, float x2, float y2) {
    const int left = truncated(x1);
    const int top = truncated(y1);
    return QRect(left, top, truncated(x2) - left, truncated(y2) - top);
}

} // namespace

QColor KeyFrameColour(const Rgb& entry) {
    return QColor(entry[0] & 0xFF, entry[1] & 0xFF, entry[2] & 0xFF);
}

std::array<QRect, 4> KeyFrameBars(const SkinRect& windowRect, float scale) {
    const float l = static_cast<float>(windowRect.left) / scale;
    const float t = static_cast<float>(windowRect.top) / scale;
    const float r = static_cast<float>(windowRect.right) / scale;
    const float b = static_cast<float>(windowRect.bottom) / scale;
    constexpr float w = static_cast<float>(kKeyColourFrameWidth);
    return {fromCorners(l - w, t - w, l, b + w), fromCorners(r, t - w, r + w, b + w),
            fromCorners(l, t - w, r, t), fromCorners(l, b, r, b + w)};
}

void DrawKeyFrame(QPainter& painter, const SkinRect& windowRect, float scale, const QColor& colour) {
    for (const QRect& bar : KeyFrameBars(windowRect, scale)) {
        painter.fillRect(bar, colour);
    }
}
