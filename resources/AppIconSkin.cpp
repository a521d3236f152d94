#include "resources/SkinFonts.h"
#include "resources/SkinImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

// A raised orange keycap with the letter Z, on a transparent background.
QImage PaintAppIcon(int pixels) {
    QImage icon(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / 128.0, pixels / 128.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(10, 14, 110, 110), 24, 24);

    QLinearGradient skirt(0, 6, 0, 118);
    skirt.setColorAt(0.0, QColor(70, 74, 82));
    skirt.setColorAt(1.0, QColor(20, 21, 24));
    p.setPen(QPen(QColor(6, 6, 8), 2));
    p.setBrush(skirt);
    p.drawRoundedRect(QRectF(6, 6, 114, 114), 24, 24);

    const QRectF top(18, 14, 90, 86);
    QLinearGradient face(0, top.top(), 0, top.bottom());
    face.setColorAt(0.0, QColor(255, 180, 80));
    face.setColorAt(1.0, QColor(214, 90, 0));
    p.setPen(QPen(QColor(120, 50, 0), 1.5));
    p.setBrush(face);
    p.drawRoundedRect(top, 16, 16);
    QRadialGradient sheen(top.center() - QPointF(18, 26), 60);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 90));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(top, 16, 16);

    QFont font = skinFont(64, true);
    p.setFont(font);
    p.setPen(QColor(60, 24, 0, 150));
    p.drawText(top.translated(0, 2), Qt::AlignCenter, QStringLiteral("Z"));
    p.setPen(QColor(34, 16, 0));
    p.drawText(top, Qt::AlignCenter, QStringLiteral("Z"));
    p.end();
    return icon;
}
