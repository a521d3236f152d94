#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>
#include <QPolygonF>

namespace {

// Cell size = the bar's thickness in the key settings dialog's lists.
constexpr int kCell = 15;
constexpr int kColumns = 9;
constexpr int kRows = 3;

// The thumb's first and last 3 pixels along the bar are drawn as they are;
// only the middle is tiled, so it must not change along the bar.
constexpr int kThumbEnd = 3;

enum Column { UpArrow, DownArrow, VThumb, VTrack, LeftArrow, RightArrow, HThumb, HTrack, Unused };

QRectF cellRect(int column, int row) {
    return QRectF(column * kCell, row * kCell, kCell, kCell);
}

Look lookOfRow(int row) {
    return row == 0 ? Look::Normal : (row == 1 ? Look::Hover : Look::Pressed);
}

void track(QPainter& p, const QRectF& cell, bool vertical) {
    QLinearGradient groove = vertical ? QLinearGradient(cell.left(), 0, cell.right(), 0)
                                      : QLinearGradient(0, cell.top(), 0, cell.bottom());
    groove.setColorAt(0.0, QColor(12, 12, 14));
    groove.setColorAt(0.5, QColor(26, 27, 30));
    groove.setColorAt(1.0, QColor(16, 16, 18));
    p.fillRect(cell, groove);
}

QLinearGradient faceGradient(const QRectF& cell, bool vertical, Look look) {
    QLinearGradient face = vertical ? QLinearGradient(cell.left(), 0, cell.right(), 0)
                                    : QLinearGradient(0, cell.top(), 0, cell.bottom());
    const QColor light = look == Look::Hover ? QColor(120, 112, 104) : QColor(88, 92, 100);
    const QColor dark = look == Look::Hover ? QColor(70, 64, 58) : QColor(50, 53, 58);
    if (look == Look::Pressed) {
        face.setColorAt(0.0, QColor(200, 90, 10));
        face.setColorAt(1.0, QColor(130, 56, 4));
    } else {
        face.setColorAt(0.0, light);
        face.setColorAt(1.0, dark);
    }
    return face;
}

void arrow(QPainter& p, const QRectF& cell, Column column, Look look) {
    const bool vertical = column == UpArrow || column == DownArrow;
    track(p, cell, vertical);
    p.setPen(QPen(QColor(8, 8, 10), 1));
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
    p.setBrush(look == Look::Normal ? QColor(210, 212, 216) : QColor(255, 255, 255));
    p.drawPolygon(tri);
}

// A thumb whose ends are rounded within kThumbEnd pixels and whose middle is
// the same on every line along the bar.
void thumb(QPainter& p, const QRectF& cell, bool vertical, Look look) {
    track(p, cell, vertical);
    const QRectF body = vertical ? cell.adjusted(2, 0.5, -2, -0.5) : cell.adjusted(0.5, 2, -0.5, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(faceGradient(cell, vertical, look));
    p.drawRoundedRect(body, kThumbEnd - 0.5, kThumbEnd - 0.5);
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    if (vertical) {
        p.drawLine(QPointF(body.left() + 0.5, cell.top() + kThumbEnd),
                   QPointF(body.left() + 0.5, cell.bottom() - kThumbEnd));
    } else {
        p.drawLine(QPointF(cell.left() + kThumbEnd, body.top() + 0.5),
                   QPointF(cell.right() - kThumbEnd, body.top() + 0.5));
    }
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
        thumb(p, cellRect(VThumb, row), true, look);
        track(p, cellRect(VTrack, row), true);
        arrow(p, cellRect(LeftArrow, row), LeftArrow, look);
        arrow(p, cellRect(RightArrow, row), RightArrow, look);
        thumb(p, cellRect(HThumb, row), false, look);
        track(p, cellRect(HTrack, row), false);
        p.fillRect(cellRect(Unused, row), QColor(20, 20, 22));
    }
    // The bar is a child control and never transparent: the key of its
    // dialog only keeps its colours honest.
    return skin.finish(Rgb24(255, 0, 0));
}
