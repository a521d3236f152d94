#pragma once

#include "app/elements/SkinItem.h"
#include "resources/SkinPainter.h"

#include <QRectF>

// Whether a keyboard function exists on a model: the radio and the lighting
// functions only on the models that have them.  0 (no model): everything.
bool FunctionAvailable(int code, int modelType);

// The picture on a code button of the Multimedia or Function page; functions
// the model lacks are drawn faded.
void DrawCodeIcon(SkinPainter& skin, const SkinRect& rect, int code, Look look, bool available);

void DrawMouseIllustration(SkinPainter& skin, const QRectF& area);
// A key struck again and again, on the Emulate page.
void DrawRepeatIllustration(SkinPainter& skin, const QRectF& area);
void DrawPowerIcon(SkinPainter& skin, const QRectF& area, int code);
