#include "controls/ScaledScrollBarSkin.h"

#include "controls/ScrollBarSkinGrid.h"

#include <QPainter>

using namespace scroll_bar_skin;

namespace {

QImage smooth(const QImage& piece, int width, int height) {
    return piece.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A thumb cell: the ends scaled only across the bar, the middle (the same on
// every line along the bar) stretched to the rest.
void drawThumbCell(QPainter& painter, const QImage& piece, QPoint at, int cell, bool vertical) {
    const int from = piece.width();
    const int middle = from - 2 * kThumbEnd;
    const int scaledMiddle = cell - 2 * kThumbEnd;
    if (vertical) {
        painter.drawImage(at, smooth(piece.copy(0, 0, from, kThumbEnd), cell, kThumbEnd));
        painter.drawImage(at + QPoint(0, kThumbEnd),
                          smooth(piece.copy(0, kThumbEnd, from, middle), cell, scaledMiddle));
        painter.drawImage(at + QPoint(0, cell - kThumbEnd),
                          smooth(piece.copy(0, from - kThumbEnd, from, kThumbEnd), cell, kThumbEnd));
    } else {
        painter.drawImage(at, smooth(piece.copy(0, 0, kThumbEnd, from), kThumbEnd, cell));
        painter.drawImage(at + QPoint(kThumbEnd, 0),
                          smooth(piece.copy(kThumbEnd, 0, middle, from), scaledMiddle, cell));
        painter.drawImage(at + QPoint(cell - kThumbEnd, 0),
                          smooth(piece.copy(from - kThumbEnd, 0, kThumbEnd, from), kThumbEnd, cell));
    }
}

} // namespace

QImage ScaledScrollBarSkin(const QImage& skin, int cell) {
    const int from = skin.width() / kColumns;
    if (from < 1 || skin.height() < kRows * from || cell < 1) {
        return {};
    }
    if (cell == from) {
        return skin.copy(0, 0, kColumns * cell, kRows * cell);
    }
    QImage scaled(kColumns * cell, kRows * cell, QImage::Format_ARGB32_Premultiplied);
    scaled.fill(Qt::transparent);
    QPainter painter(&scaled);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const bool endsFit = from > 2 * kThumbEnd && cell > 2 * kThumbEnd;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QImage piece = skin.copy(column * from, row * from, from, from);
            const QPoint at(column * cell, row * cell);
            const bool thumb = column == VerticalThumb || column == HorizontalThumb;
            if (thumb && endsFit) {
                drawThumbCell(painter, piece, at, cell, column == VerticalThumb);
            } else {
                painter.drawImage(at, smooth(piece, cell, cell));
            }
        }
    }
    return scaled;
}
