#include "controls/ScrollBarSkinGrid.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>
#include <QPolygonF>

#include <cmath>

using namespace scroll_bar_skin;

namespace {

// Cell size = the bar's thickness in the key settings dialog's lists.
constexpr int kCell = 15;

QRectF cellRect(int column, int row) {
    return QRectF(column * kCell, row * kCell, kCell, kCell);
}

Look lookOfRow(int row) {
    return row == 0 ? Look::Normal : (row == 1 ? Look::Hover : Look::Pressed);
}

// A recessed groove: darker at its walls, with a faint lit lip on the far
// wall, the same on every line along the bar so it tiles seamlessly.
void track(QPainter& p, const QRectF& cell, bool vertical) {
    QLinearGradient groove = vertical ? QLinearGradient(cell.left(), 0, cell.right(), 0)
                                      : QLinearGradient(0, cell.top(), 0, cell.bottom());
    groove.setColorAt(0.0, QColor(10, 10, 12));
    groove.setColorAt(0.45, QColor(24, 25, 28));
    groove.setColorAt(1.0, QColor(15, 15, 17));
    p.fillRect(cell, groove);
    const QRectF lip = vertical ? QRectF(cell.right() - 1, cell.top(), 1, cell.height())
                                : QRectF(cell.left(), cell.bottom() - 1, cell.width(), 1);
    p.fillRect(lip, QColor(40, 42, 46));
}

// Rest: graphite.  Hover: lighter and ringed in the interface's orange, so
// the part under the pointer stands out on the dark panel.  Pressed: filled
// with that orange.
QLinearGradient faceGradient(const QRectF& cell, bool vertical, Look look) {
    QLinearGradient face = vertical ? QLinearGradient(cell.left(), 0, cell.right(), 0)
                                    : QLinearGradient(0, cell.top(), 0, cell.bottom());
    switch (look) {
    case Look::Normal:
        face.setColorAt(0.0, QColor(96, 101, 110));
        face.setColorAt(1.0, QColor(54, 57, 63));
        break;
    case Look::Hover:
        face.setColorAt(0.0, QColor(126, 132, 142));
        face.setColorAt(1.0, QColor(72, 76, 84));
        break;
    case Look::Pressed:
        face.setColorAt(0.0, skin::kAccent);
        face.setColorAt(1.0, skin::kAccentDeep);
        break;
    }
    return face;
}

QColor glyphColour(Look look) {
    switch (look) {
    case Look::Normal:
        return QColor(206, 209, 214);
    case Look::Hover:
    case Look::Pressed:
        return QColor(255, 255, 255);
    }
    return QColor(206, 209, 214);
}

QPen rimPen(Look look) {
    return QPen(look == Look::Hover ? skin::kAccent : QColor(8, 8, 10), 1);
}

void arrow(QPainter& p, const QRectF& cell, Column column, Look look) {
    const bool vertical = column == UpArrow || column == DownArrow;
    track(p, cell, vertical);
    p.setPen(rimPen(look));
    p.setBrush(faceGradient(cell, vertical, look));
    p.drawRoundedRect(cell.adjusted(1.5, 1.5, -1.5, -1.5), 2.5, 2.5);
    const QPointF c = cell.center();
    const qreal s = 3.2;
    QPolygonF tri;
    switch (column) {
    case UpArrow:
        tri = {c + QPointF(0, -s), c + QPointF(s, s * 0.7), c + QPointF(-s, s * 0.7)};
        break;
    case DownArrow:
        tri = {c + QPointF(0, s), c + QPointF(s, -s * 0.7), c + QPointF(-s, -s * 0.7)};
        break;
    case LeftArrow:
        tri = {c + QPointF(-s, 0), c + QPointF(s * 0.7, s), c + QPointF(s * 0.7, -s)};
        break;
    default:
        tri = {c + QPointF(s, 0), c + QPointF(-s * 0.7, s), c + QPointF(-s * 0.7, -s)};
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColour(look));
    p.drawPolygon(tri);
}

// A thumb whose ends are rounded within kThumbEnd pixels and whose middle is
// the same on every line along the bar: a grip groove runs along it and tiles
// into one unbroken line on a thumb of any length.
void thumb(QPainter& p, const QRectF& cell, bool vertical, Look look) {
    track(p, cell, vertical);
    const QRectF body = vertical ? cell.adjusted(2, 0.5, -2, -0.5) : cell.adjusted(0.5, 2, -0.5, -2);
    p.setPen(rimPen(look));
    p.setBrush(faceGradient(cell, vertical, look));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), kThumbEnd - 0.5, kThumbEnd - 0.5);
    const QColor lit = look == Look::Pressed ? QColor(255, 214, 160, 110) : QColor(255, 255, 255, 60);
    const QColor groove = look == Look::Pressed ? QColor(90, 36, 0, 170) : QColor(10, 10, 12, 150);
    const qreal middle = vertical ? cell.center().x() : cell.center().y();
    const qreal from = (vertical ? cell.top() : cell.left()) + kThumbEnd;
    const qreal to = (vertical ? cell.bottom() : cell.right()) - kThumbEnd;
    auto along = [&](qreal across, const QColor& colour) {
        p.setPen(QPen(colour, 1));
        if (vertical) {
            p.drawLine(QPointF(across, from), QPointF(across, to));
        } else {
            p.drawLine(QPointF(from, across), QPointF(to, across));
        }
    };
    along(std::floor(middle) - 0.5, groove);
    along(std::floor(middle) + 0.5, lit);
}

} // namespace

QImage PaintScrollBar() {
    SkinPainter skin(kCell * kColumns, kCell * kRows);
    QPainter& p = skin.painter();
    p.fillRect(QRectF(0, 0, kCell * kColumns, kCell * kRows), QColor(20, 20, 22));
    for (int row = 0; row < kRows; ++row) {
        const Look look = lookOfRow(row);
        arrow(p, cellRect(UpArrow, row), UpArrow, look);
        arrow(p, cellRect(DownArrow, row), DownArrow, look);
        thumb(p, cellRect(VerticalThumb, row), true, look);
        track(p, cellRect(VerticalTrack, row), true);
        arrow(p, cellRect(LeftArrow, row), LeftArrow, look);
        arrow(p, cellRect(RightArrow, row), RightArrow, look);
        thumb(p, cellRect(HorizontalThumb, row), false, look);
        track(p, cellRect(HorizontalTrack, row), false);
        p.fillRect(cellRect(Unused, row), QColor(20, 20, 22));
    }
    // The bar is a child control and never transparent: the key of its
    // dialog only keeps its colours honest.
    return skin.finish(Rgb24(255, 0, 0));
}
