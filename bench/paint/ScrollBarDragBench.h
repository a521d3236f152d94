#pragma once

class QImage;

// One thumb-drag step of the key settings dialog's record-list bar (a mouse
// move that moves the thumb, the parent's answer and the repaint) at the
// given ScaleFactor, with the scroll-bar skin drawn for scale 1.
void BenchScrollBarDrag(const QImage& skin, float scale);
