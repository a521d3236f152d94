#include "resources/SkinPainter.h"

#include "app/elements/SkinItemPainting.h"
#include "resources/SkinFonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr qreal kFrameRadius = 12;

// Pixels closer than this to the colour key in every channel would read as
// "almost transparent" to anyone inspecting the images; they are pushed away.
constexpr int kKeyNearness = 8;
constexpr int kKeyPush = 28;

// Opaque edge pixels are blended onto this instead of the key, so the
// antialiased rim never takes on the key's hue.
const QColor kRimBase(8, 8, 10);

QColor shade(const QColor& colour, int delta) {
    return QColor(std::clamp(colour.red() + delta, 0, 255), std::clamp(colour.green() + delta, 0, 255),
                  std::clamp(colour.blue() + delta, 0, 255), colour.alpha());
}

// Horizontal streaks of brushed aluminium: per-row offsets plus fine grain
// smeared along x.  Each row repeats with a period of kGrainPeriod pixels:
// too long to see, but it lets the PNG decoder copy instead of decode, which
// keeps loading every image of a model at start-up quick.  Seeded, so every
// build draws the same picture.
QImage brushedTexture(int width, int height, const QColor& base) {
    constexpr int kGrainPeriod = 181;
    constexpr int kSmear = 23;
    QImage texture(width, height, QImage::Format_RGB32);
    std::mt19937 random(20260105u);
    std::uniform_int_distribution<int> grain(-9, 9);
    std::uniform_int_distribution<int> row(-3, 3);
    std::vector<int> noise(kGrainPeriod);
    std::vector<QRgb> period(kGrainPeriod);
    for (int y = 0; y < height; ++y) {
        const int rowOffset = row(random);
        for (int& n : noise) {
            n = grain(random);
        }
        // A soft vertical sheen: lighter near the top, darker at the bottom.
        const int sheen = static_cast<int>(10.0 * (1.0 - 2.0 * y / std::max(1, height - 1)));
        int sum = 0;
        for (int i = 0; i < kSmear; ++i) {
            sum += noise[static_cast<std::size_t>(i)];
        }
        for (int x = 0; x < kGrainPeriod; ++x) {
            const int d = sum / kSmear + rowOffset + sheen;
            period[static_cast<std::size_t>(x)] =
                qRgb(std::clamp(base.red() + d, 0, 255), std::clamp(base.green() + d, 0, 255),
                     std::clamp(base.blue() + d + 1, 0, 255));
            // The smear wraps around, so the period joins without a seam.
            sum += noise[static_cast<std::size_t>((x + kSmear) % kGrainPeriod)] -
                   noise[static_cast<std::size_t>(x)];
        }
        auto* line = reinterpret_cast<QRgb*>(texture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = period[static_cast<std::size_t>(x % kGrainPeriod)];
        }
    }
    return texture;
}

QPainterPath roundedPath(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

bool nearKey(QRgb pixel, QRgb key) {
    return std::abs(qRed(pixel) - qRed(key)) <= kKeyNearness &&
           std::abs(qGreen(pixel) - qGreen(key)) <= kKeyNearness &&
           std::abs(qBlue(pixel) - qBlue(key)) <= kKeyNearness;
}

int pushAway(int channel, int keyChannel) {
    return keyChannel >= 128 ? std::min(channel, keyChannel - kKeyPush)
                             : std::max(channel, keyChannel + kKeyPush);
}

} // namespace

QRectF toRectF(const SkinRect& rect) {
    return QRectF(rect.left, rect.top, rect.width(), rect.height());
}

SkinPainter::SkinPainter(int width, int height) : image_(width, height, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::transparent);
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

void SkinPainter::windowFrame(int titleBottom) {
    QPainter& p = painter_;
    const QRectF outer(0, 0, width(), height());
    const QPainterPath outerPath = roundedPath(outer, kFrameRadius);

    // Rim: a dark outline, then a bevel that catches light from above.
    p.fillPath(outerPath, QColor(6, 6, 8));
    QLinearGradient bevel(0, 0, 0, height());
    bevel.setColorAt(0.0, QColor(92, 96, 104));
    bevel.setColorAt(0.08, QColor(58, 61, 67));
    bevel.setColorAt(1.0, QColor(24, 25, 28));
    p.fillPath(roundedPath(outer.adjusted(1, 1, -1, -1), kFrameRadius - 1), bevel);

    const QRectF body = outer.adjusted(3, 3, -3, -3);
    const QPainterPath bodyPath = roundedPath(body, kFrameRadius - 3);
    p.save();
    p.setClipPath(bodyPath);
    p.drawImage(0, 0, brushedTexture(width(), height(), QColor(40, 43, 48)));
    if (titleBottom > 0) {
        QLinearGradient band(0, 0, 0, titleBottom);
        band.setColorAt(0.0, QColor(26, 28, 32, 235));
        band.setColorAt(1.0, QColor(16, 17, 20, 235));
        p.fillRect(QRectF(0, 0, width(), titleBottom), band);
        // A thin accent seam under the title, fading at both ends.
        QLinearGradient seam(0, 0, width(), 0);
        seam.setColorAt(0.0, QColor(255, 140, 30, 0));
        seam.setColorAt(0.2, skin::kAccent);
        seam.setColorAt(0.8, skin::kAccent);
        seam.setColorAt(1.0, QColor(255, 140, 30, 0));
        p.fillRect(QRectF(0, titleBottom, width(), 1.5), seam);
        p.fillRect(QRectF(0, titleBottom + 1.5, width(), 1), QColor(0, 0, 0, 120));
    }
    // The panel darkens towards its edges.  Bands at the sides rather than a
    // radial vignette, so the rows between them keep their repeating grain.
    const qreal band = std::min(90.0, width() / 6.0);
    QLinearGradient left(0, 0, band, 0);
    left.setColorAt(0.0, QColor(0, 0, 0, 80));
    left.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, band, height()), left);
    QLinearGradient right(width() - band, 0, width(), 0);
    right.setColorAt(0.0, QColor(0, 0, 0, 0));
    right.setColorAt(1.0, QColor(0, 0, 0, 80));
    p.fillRect(QRectF(width() - band, 0, band, height()), right);
    QLinearGradient bottom(0, height() - band, 0, height());
    bottom.setColorAt(0.0, QColor(0, 0, 0, 0));
    bottom.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillRect(QRectF(0, height() - band, width(), band), bottom);
    p.restore();

    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedPath(body.adjusted(0.5, 0.5, -0.5, -0.5), kFrameRadius - 3));
}

void SkinPainter::plate(const QRectF& rect, qreal radius) {
    QPainter& p = painter_;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(rect, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.drawLine(QPointF(rect.left() + radius, rect.top() + 0.5),
               QPointF(rect.right() - radius, rect.top() + 0.5));
}

void SkinPainter::insetField(const QRectF& rect) {
    QPainter& p = painter_;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawRoundedRect(rect.adjusted(-1, -1, 1, 1.5), 3, 3);
    p.setBrush(QColor(20, 20, 20));
    p.drawRoundedRect(rect, 2.5, 2.5);
    QLinearGradient shadow(0, rect.top(), 0, rect.top() + 4);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawRoundedRect(rect, 2.5, 2.5);
}

void SkinPainter::button(const SkinRect& rect, Look look) {
    QPainter& p = painter_;
    const QRectF r = toRectF(rect).adjusted(1, 1, -1, -1);
    const qreal radius = std::min<qreal>(5, r.height() / 3);
    // Drop shadow below the raised face.
    if (look != Look::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(r.translated(0, 1), radius, radius);
    }
    QLinearGradient face(0, r.top(), 0, r.bottom());
    switch (look) {
    case Look::Normal:
        face.setColorAt(0.0, QColor(76, 80, 88));
        face.setColorAt(0.5, QColor(54, 57, 63));
        face.setColorAt(1.0, QColor(40, 42, 47));
        break;
    case Look::Hover:
        face.setColorAt(0.0, QColor(104, 100, 96));
        face.setColorAt(0.5, QColor(74, 70, 66));
        face.setColorAt(1.0, QColor(56, 52, 48));
        break;
    case Look::Pressed:
        face.setColorAt(0.0, QColor(22, 23, 26));
        face.setColorAt(1.0, QColor(40, 42, 46));
        break;
    }
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (look == Look::Pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 160), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    } else {
        p.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 70 : 45), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    }
    if (look != Look::Normal) {
        // The accent rim marks the button under the pointer or switched on.
        QColor rim = skin::kAccent;
        rim.setAlpha(look == Look::Hover ? 210 : 150);
        p.setPen(QPen(rim, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

void SkinPainter::chosenButton(const SkinRect& rect, bool dimmed) {
    QPainter& p = painter_;
    const QRectF r = toRectF(rect).adjusted(1, 1, -1, -1);
    const qreal radius = std::min<qreal>(5, r.height() / 3);
    QLinearGradient face(0, r.top(), 0, r.bottom());
    face.setColorAt(0.0, dimmed ? QColor(92, 70, 54) : QColor(176, 88, 14));
    face.setColorAt(1.0, dimmed ? QColor(58, 46, 38) : QColor(106, 50, 6));
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    p.setPen(QPen(dimmed ? QColor(150, 120, 96) : QColor(255, 160, 60), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), radius - 1, radius - 1);
}

void SkinPainter::dimmedHover(const SkinRect& rect) {
    QPainter& p = painter_;
    const QRectF r = toRectF(rect).adjusted(2, 2, -2, -2);
    const qreal radius = std::min<qreal>(4, r.height() / 3);
    p.setPen(QPen(QColor(150, 150, 150, 150), 1.2));
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawRoundedRect(r, radius, radius);
}

void SkinPainter::glyphButton(const SkinRect& rect, Glyph glyph, Look look) {
    QPainter& p = painter_;
    const QRectF cell = toRectF(rect);
    const qreal side = std::min(cell.width(), cell.height()) - 4;
    const QRectF disc(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    QColor fill = look == Look::Normal ? QColor(56, 59, 65) : QColor(86, 82, 78);
    if (glyph == Glyph::Close && look != Look::Normal) {
        fill = QColor(196, 52, 40);
    }
    if (look == Look::Pressed) {
        fill = shade(fill, -28);
    }
    QLinearGradient face(0, disc.top(), 0, disc.bottom());
    face.setColorAt(0.0, shade(fill, 24));
    face.setColorAt(1.0, shade(fill, -16));
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(face);
    p.drawEllipse(disc);

    const QColor ink = look == Look::Normal ? QColor(196, 198, 202) : QColor(255, 255, 255);
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = disc.center();
    const qreal a = side * 0.22;
    switch (glyph) {
    case Glyph::Close:
        p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
        p.drawLine(c + QPointF(-a, a), c + QPointF(a, -a));
        break;
    case Glyph::Minimise:
        p.drawLine(c + QPointF(-a, a * 0.6), c + QPointF(a, a * 0.6));
        break;
    case Glyph::Help: {
        QFont font = skinFont(static_cast<int>(side * 0.62), true);
        p.setFont(font);
        p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

void SkinPainter::tab(const SkinRect& rect, bool current, Look look) {
    QPainter& p = painter_;
    const QRectF r = toRectF(rect).adjusted(1, 0, -1, 0);
    QPainterPath path;
    const qreal radius = 6;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();

    QLinearGradient face(0, r.top(), 0, r.bottom());
    if (current && look == Look::Hover) {
        face.setColorAt(0.0, QColor(86, 88, 96));
        face.setColorAt(1.0, QColor(56, 58, 64));
    } else if (current) {
        face.setColorAt(0.0, QColor(70, 74, 82));
        face.setColorAt(1.0, QColor(46, 49, 55));
    } else if (look == Look::Normal) {
        face.setColorAt(0.0, QColor(44, 46, 51));
        face.setColorAt(1.0, QColor(28, 30, 34));
    } else {
        face.setColorAt(0.0, QColor(80, 76, 72));
        face.setColorAt(1.0, QColor(46, 44, 42));
    }
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(face);
    p.drawPath(path);
    if (current || look != Look::Normal) {
        QColor top = skin::kAccent;
        top.setAlpha(current ? 255 : 170);
        p.setPen(QPen(top, current ? 2.5 : 1.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.2), QPointF(r.right() - radius, r.top() + 1.2));
    }
}

void SkinPainter::radio(const SkinRect& rect, Look look) {
    QPainter& p = painter_;
    const QRectF cell = toRectF(rect);
    const qreal side = std::min(cell.width(), cell.height()) - 1;
    const QRectF ring(cell.left() + (cell.width() - side) / 2, cell.top() + (cell.height() - side) / 2, side,
                      side);
    QLinearGradient well(0, ring.top(), 0, ring.bottom());
    well.setColorAt(0.0, QColor(10, 10, 12));
    well.setColorAt(1.0, QColor(44, 46, 52));
    p.setPen(QPen(look == Look::Hover ? skin::kAccent : QColor(120, 124, 132), 1.2));
    p.setBrush(well);
    p.drawEllipse(ring.adjusted(0.6, 0.6, -0.6, -0.6));
    if (look == Look::Pressed) {
        const QRectF dot = ring.adjusted(side * 0.27, side * 0.27, -side * 0.27, -side * 0.27);
        QRadialGradient glow(dot.center(), side * 0.5);
        glow.setColorAt(0.0, QColor(170, 255, 180));
        glow.setColorAt(0.5, skin::kGreenLamp);
        glow.setColorAt(1.0, QColor(20, 110, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(dot);
    }
}

void SkinPainter::listBox(const QRectF& rect) {
    insetField(rect);
}

void SkinPainter::listRow(const SkinRect& rect, Look look) {
    if (look == Look::Normal) {
        return;
    }
    QPainter& p = painter_;
    const QRectF r = toRectF(rect);
    QLinearGradient bar(0, r.top(), 0, r.bottom());
    if (look == Look::Hover) {
        bar.setColorAt(0.0, QColor(70, 72, 78));
        bar.setColorAt(1.0, QColor(52, 54, 60));
    } else {
        bar.setColorAt(0.0, QColor(150, 72, 10));
        bar.setColorAt(1.0, QColor(104, 48, 6));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRect(r);
    // A lighter top edge; nothing at the left, where the row's text begins.
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1),
               look == Look::Pressed ? QColor(220, 120, 40) : QColor(96, 98, 104));
}

void SkinPainter::lockLamp(const QPointF& at, qreal radius, qreal glow, bool lit) {
    QPainter& p = painter_;
    QRadialGradient glass(at, glow);
    glass.setColorAt(0.0, lit ? QColor(210, 255, 220) : QColor(70, 90, 76));
    glass.setColorAt(1.0, lit ? QColor(30, 150, 60) : QColor(28, 36, 30));
    p.setPen(QPen(QColor(4, 4, 6), 1));
    p.setBrush(glass);
    p.drawEllipse(at, radius, radius);
}

void SkinPainter::recordLamp(const SkinRect& rect, Look look) {
    QPainter& p = painter_;
    const QRectF r = toRectF(rect);
    const qreal d = std::min<qreal>(8, r.height() / 3);
    const QRectF lamp(r.left() + 7, r.center().y() - d / 2 + 3, d, d);
    QRadialGradient glow(lamp.center(), d);
    if (look == Look::Pressed) {
        glow.setColorAt(0.0, QColor(255, 190, 170));
        glow.setColorAt(0.5, skin::kRecordRed);
        glow.setColorAt(1.0, QColor(120, 20, 16));
    } else {
        glow.setColorAt(0.0, QColor(140, 70, 64));
        glow.setColorAt(1.0, QColor(70, 28, 24));
    }
    p.setPen(QPen(QColor(8, 8, 8), 0.8));
    p.setBrush(glow);
    p.drawEllipse(lamp);
}

void SkinPainter::keyboardCase(const QRectF& rect, const CapStyle& style) {
    QPainter& p = painter_;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(rect.adjusted(-2, 0, 2, 4), 12, 12);
    QLinearGradient body(0, rect.top(), 0, rect.bottom());
    body.setColorAt(0.0, QColor(54, 57, 63));
    body.setColorAt(0.05, QColor(30, 32, 36));
    body.setColorAt(1.0, QColor(20, 21, 24));
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(body);
    p.drawRoundedRect(rect, 10, 10);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), 9, 9);
    // The plate under the caps glows in the backlight colour.
    const QRectF plateRect = rect.adjusted(8, 8, -8, -8);
    if (style.rainbow) {
        QLinearGradient rainbow(plateRect.left(), 0, plateRect.right(), 0);
        const QColor hues[] = {QColor(255, 40, 90),  QColor(255, 150, 20), QColor(230, 230, 40),
                               QColor(40, 220, 120), QColor(30, 170, 255), QColor(160, 70, 255)};
        for (int i = 0; i < 6; ++i) {
            QColor c = hues[i];
            c.setAlpha(70);
            rainbow.setColorAt(i / 5.0, c);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(rainbow);
    } else {
        QColor c = style.glow;
        c.setAlpha(50);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
    }
    p.drawRoundedRect(plateRect, 6, 6);
    p.setBrush(QColor(10, 11, 13, 170));
    p.drawRoundedRect(plateRect, 6, 6);
}

namespace {

// The cap inside a key's rectangle, and its top surface: raised and offset
// upwards at rest, sunk when pressed.
QRectF capRect(const SkinRect& rect, const CapStyle& style) {
    return toRectF(rect).adjusted(style.inset, style.inset, -style.inset, -style.inset);
}

QRectF capTop(const QRectF& cap, bool pressed) {
    return pressed ? cap.adjusted(3, 3.5, -3, -2.5) : cap.adjusted(3.5, 2, -3.5, -5.5);
}

// Where a legend in a shared face goes: on the top it stands on, a little
// narrower than the top at rest in every look, so that it breaks the same way
// in every image and never meets the side wall of a picked key's lit face,
// where a letter looks cut off.
QRectF legendArea(const QRectF& cap, bool pressed) {
    constexpr qreal clearance = 0.5;
    const QRectF rest = capTop(cap, false);
    const QRectF top = capTop(cap, pressed);
    return QRectF(rest.left() + clearance, top.top(), rest.width() - 2 * clearance, top.height());
}

// A legend centred in `rect` in one face, broken in two where one line is too wide.
void setLegend(QPainter& p, const QRectF& rect, const QString& text, LegendFace face);

} // namespace

void SkinPainter::keyCap(const SkinRect& rect, const QString& legend, Look look, const CapStyle& style,
                         int hue, std::optional<LegendFace> legendFace) {
    QPainter& p = painter_;
    const QRectF r = capRect(rect, style);
    const qreal radius = 4;
    const bool chosen = look == Look::Pressed && style.chosen.isValid();
    const bool pressed = look == Look::Pressed && !chosen;

    // Light leaking from under the cap.
    QColor glow = style.glow;
    if (style.rainbow) {
        glow = QColor::fromHsv(((hue % 360) + 360) % 360, 200, 255);
    }
    if (chosen) {
        glow = style.chosen;
    }
    glow.setAlpha(look == Look::Normal ? 60 : 120);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    const qreal spill = std::min<qreal>(1, style.inset);
    p.drawRoundedRect(r.adjusted(-spill, -spill, spill, spill), radius + spill, radius + spill);

    // Skirt of the cap.
    QLinearGradient skirt(0, r.top(), 0, r.bottom());
    skirt.setColorAt(0.0, chosen ? style.chosen.darker(190) : QColor(50, 53, 58));
    skirt.setColorAt(1.0, chosen ? style.chosen.darker(320) : QColor(18, 19, 22));
    p.setPen(QPen(QColor(6, 6, 8), 1));
    p.setBrush(skirt);
    p.drawRoundedRect(r, radius, radius);

    const QRectF top = capTop(r, pressed);
    QLinearGradient face(0, top.top(), 0, top.bottom());
    if (chosen) {
        face.setColorAt(0.0, style.chosen.lighter(125));
        face.setColorAt(1.0, style.chosen);
    } else {
        switch (look) {
        case Look::Normal:
            face.setColorAt(0.0, QColor(70, 74, 81));
            face.setColorAt(1.0, QColor(50, 53, 59));
            break;
        case Look::Hover:
            face.setColorAt(0.0, QColor(98, 100, 106));
            face.setColorAt(1.0, QColor(70, 72, 78));
            break;
        case Look::Pressed:
            face.setColorAt(0.0, QColor(34, 36, 40));
            face.setColorAt(1.0, QColor(48, 50, 55));
            break;
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(top, radius - 1, radius - 1);
    if (!pressed) {
        p.setPen(QPen(QColor(255, 255, 255, chosen ? 110 : 40), 1));
        p.drawLine(QPointF(top.left() + 2, top.top() + 0.5), QPointF(top.right() - 2, top.top() + 0.5));
    }
    if (look == Look::Hover || pressed) {
        // A set key on an RGB keyboard lights its rim in its own colour.
        QColor rim = look == Look::Hover ? skin::kAccent : QColor(255, 170, 70);
        if (pressed && style.rainbow) {
            rim = QColor::fromHsv(((hue % 360) + 360) % 360, 170, 255);
        }
        rim.setAlpha(look == Look::Hover ? 230 : 210);
        p.setPen(QPen(rim, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.7, 0.7, -0.7, -0.7), radius, radius);
    }

    QColor ink =
        pressed ? (style.rainbow ? QColor(255, 236, 214) : QColor(255, 176, 90)) : QColor(226, 228, 232);
    if (look == Look::Hover) {
        ink = QColor(255, 255, 255);
    }
    if (chosen) {
        ink = QColor(24, 20, 16);
    }
    if (legendFace) {
        p.setPen(ink);
        setLegend(p, legendArea(r, pressed), legend, *legendFace);
        return;
    }
    // The legend may run over the cap's side walls: narrow caps need the room.
    fittedText(QRectF(r.left() + 1.5, top.top(), r.width() - 3, top.height()), legend, ink,
               style.legendPixels, true);
}

namespace {

// Where a legend too long for one line breaks: before its second word, at a
// change from lower to upper case ("ScrollLock"), or where a run of capitals
// ends in a word ("KPEnter").
int legendBreak(const QString& text) {
    const int space = static_cast<int>(text.indexOf(QLatin1Char(' ')));
    if (space > 0) {
        return space;
    }
    for (int i = 1; i < text.size(); ++i) {
        if (text[i].isUpper() && text[i - 1].isLower()) {
            return i;
        }
        if (text[i].isUpper() && text[i - 1].isUpper() && i + 1 < text.size() && text[i + 1].isLower()) {
            return i;
        }
    }
    return -1;
}

bool fits(const QRectF& rect, const QString& text, const QFont& font) {
    const QRectF need = QFontMetricsF(font).boundingRect(rect, Qt::AlignCenter, text);
    return need.width() <= rect.width() && need.height() <= rect.height() + 2;
}

bool drawIfFits(QPainter& p, const QRectF& rect, const QString& text, int size, bool bold) {
    const QFont font = skinFont(size, bold);
    if (!fits(rect, text, font)) {
        return false;
    }
    p.setFont(font);
    p.drawText(rect, Qt::AlignCenter, text);
    return true;
}

// The legend as it is set in a face: on one line, or broken in two.
QString legendLines(const QString& text, const QRectF& rect, const QFont& font) {
    const int split = legendBreak(text);
    if (fits(rect, text, font) || split <= 0) {
        return text;
    }
    return text.left(split) + QLatin1Char('\n') + text.mid(split).trimmed();
}

bool legendFits(const QRectF& rect, const QString& text, const QFont& font) {
    return fits(rect, legendLines(text, rect, font), font);
}

// A shared face never goes below this: smaller legends stop being legible.
constexpr int kSmallestSharedLegend = 7;

void setLegend(QPainter& p, const QRectF& rect, const QString& text, LegendFace face) {
    const QFont font = skinFont(face.pixels, face.bold);
    p.setFont(font);
    p.drawText(rect, Qt::AlignCenter, legendLines(text, rect, font));
}

} // namespace

LegendFace SharedLegendFace(const std::vector<CapLegend>& legends, const CapStyle& style) {
    const auto allFit = [&](LegendFace face) {
        const QFont font = skinFont(face.pixels, face.bold);
        return std::all_of(legends.begin(), legends.end(), [&](const CapLegend& legend) {
            const QRectF cap = capRect(legend.rect, style);
            return legendFits(legendArea(cap, false), legend.text, font);
        });
    };
    for (int pixels = style.legendPixels; pixels >= kSmallestSharedLegend; --pixels) {
        for (const bool bold : {true, false}) {
            if (allFit({pixels, bold})) {
                return {pixels, bold};
            }
        }
    }
    return {kSmallestSharedLegend, false};
}

void SkinPainter::fittedText(const QRectF& rect, const QString& text, const QColor& colour, int pixels,
                             bool bold) {
    QPainter& p = painter_;
    p.setPen(colour);
    const int split = legendBreak(text);
    const QString lines =
        split > 0 ? text.left(split) + QLatin1Char('\n') + text.mid(split).trimmed() : QString();
    // Legible first: the preferred size (a little smaller at most) on one
    // line or two, then the narrower regular face, and only then small text.
    struct Try {
        bool twoLines;
        bool boldFace;
        int largest;
        int smallest;
    };
    const int near = std::max(7, pixels - 2);
    const Try tries[] = {
        {false, bold, pixels, near},  {true, bold, pixels - 1, near - 1},
        {false, false, pixels, near}, {false, bold, near - 1, 9},
        {false, false, near - 1, 9},  {true, bold, 9, 7},
        {true, false, 9, 7},          {false, false, 8, 6},
    };
    for (const Try& attempt : tries) {
        if (attempt.twoLines && split <= 0) {
            continue;
        }
        for (int size = attempt.largest; size >= attempt.smallest; --size) {
            if (drawIfFits(p, rect, attempt.twoLines ? lines : text, size, attempt.boldFace)) {
                return;
            }
        }
    }
    p.setFont(skinFont(6, false));
    p.drawText(rect, Qt::AlignCenter, split > 0 ? lines : text);
}

void SkinPainter::wordmark(qreal x, qreal y, const QString& model) {
    QPainter& p = painter_;
    // A small keycap as the logo, then the product word and the model.
    const QRectF cap(x, y, 26, 26);
    QLinearGradient face(0, cap.top(), 0, cap.bottom());
    face.setColorAt(0.0, QColor(255, 170, 60));
    face.setColorAt(1.0, skin::kAccentDeep);
    p.setPen(QPen(QColor(40, 18, 0), 1));
    p.setBrush(face);
    p.drawRoundedRect(cap, 6, 6);
    p.setPen(QColor(30, 14, 0));
    p.setFont(skinFont(17, true));
    p.drawText(cap, Qt::AlignCenter, QStringLiteral("Z"));

    QFont title = skinFont(20, true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(title);
    p.setPen(QColor(236, 238, 240));
    const QRectF word(x + 36, y - 2, 120, 30);
    p.drawText(word, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZARN"));
    const qreal wordWidth = QFontMetricsF(title).horizontalAdvance(QStringLiteral("ZARN"));
    p.setFont(skinFont(12, false));
    p.setPen(skin::kAccent);
    p.drawText(QRectF(x + 44 + wordWidth, y + 2, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, model);
}

QImage SkinPainter::finish(ColorRef colourKey) {
    painter_.end();
    const QRgb key = ToQColor(colourKey).rgb();
    QImage out(image_.size(), QImage::Format_RGB32);
    for (int y = 0; y < image_.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image_.width(); ++x) {
            const QRgb s = src[x];
            const int a = qAlpha(s);
            if (a < 128) {
                dst[x] = key;
                continue;
            }
            // Premultiplied source over the rim base.
            const int inv = 255 - a;
            QRgb pixel =
                qRgb(qRed(s) + (kRimBase.red() * inv) / 255, qGreen(s) + (kRimBase.green() * inv) / 255,
                     qBlue(s) + (kRimBase.blue() * inv) / 255);
            if (nearKey(pixel, key)) {
                pixel = qRgb(pushAway(qRed(pixel), qRed(key)), pushAway(qGreen(pixel), qGreen(key)),
                             pushAway(qBlue(pixel), qBlue(key)));
            }
            dst[x] = pixel;
        }
    }
    return out;
}
