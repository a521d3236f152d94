#pragma once

#include "app/elements/SkinItem.h"
#include "model/ConfigDocument.h"

#include <QColor>
#include <QRect>

#include <array>

class QPainter;

// The colour a key's frame shows for a stored entry.  Profiles may hold any
// 32-bit value; only the low byte of each component is a colour.
QColor KeyFrameColour(const Rgb& entry);

// The bars that outline a key two pixels wide (left, right, top, bottom), in
// image pixels, for the key's rectangle in window pixels.  Each corner is
// worked out in floating point and truncated, so the frame sits where the
// images put the key at any scale.
std::array<QRect, 4> KeyFrameBars(const SkinRect& windowRect, float scale);

void DrawKeyFrame(QPainter& painter, const SkinRect& windowRect, float scale, const QColor& colour);
