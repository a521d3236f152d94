#include "resources/IconShapes.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void drawMore(QPainter& p, IconShape shape, const QRectF& box, const QColor& ink);

QPolygonF triangle(QPointF tip, qreal size, bool right) {
    const qreal dx = right ? -size : size;
    return QPolygonF({tip, tip + QPointF(dx, -size * 0.8), tip + QPointF(dx, size * 0.8)});
}

void speaker(QPainter& p, QPointF c, qreal s) {
    QPolygonF body({c + QPointF(-s, -s * 0.35), c + QPointF(-s * 0.45, -s * 0.35), c + QPointF(0.1 * s, -s),
                    c + QPointF(0.1 * s, s), c + QPointF(-s * 0.45, s * 0.35), c + QPointF(-s, s * 0.35)});
    p.drawPolygon(body);
}

void drawStroked(QPainter& p, IconShape shape, const QRectF& box, const QColor& ink, const QColor& accent) {
    const QPointF c = box.center();
    const qreal s = std::min(box.width(), box.height()) * 0.32;
    const QPen stroke(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    switch (shape) {
    case IconShape::Note: {
        p.setBrush(ink);
        p.drawEllipse(QRectF(c.x() - s, c.y() + s * 0.35, s * 0.8, s * 0.6));
        p.drawEllipse(QRectF(c.x() + s * 0.2, c.y() + s * 0.1, s * 0.8, s * 0.6));
        p.drawLine(c + QPointF(-s * 0.22, s * 0.6), c + QPointF(-s * 0.22, -s));
        p.drawLine(c + QPointF(s * 0.98, s * 0.35), c + QPointF(s * 0.98, -s * 1.2));
        p.drawLine(c + QPointF(-s * 0.22, -s), c + QPointF(s * 0.98, -s * 1.2));
        break;
    }
    case IconShape::PlayPause:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(s * 0.15, 0), s * 0.9, true));
        p.drawRect(QRectF(c.x() + s * 0.35, c.y() - s * 0.7, s * 0.22, s * 1.4));
        p.drawRect(QRectF(c.x() + s * 0.75, c.y() - s * 0.7, s * 0.22, s * 1.4));
        break;
    case IconShape::Stop:
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s * 0.7, c.y() - s * 0.7, s * 1.4, s * 1.4), 1.5, 1.5);
        break;
    case IconShape::Next:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(0, 0), s * 0.7, true));
        p.drawPolygon(triangle(c + QPointF(s * 0.7, 0), s * 0.7, true));
        p.drawRect(QRectF(c.x() + s * 0.75, c.y() - s * 0.6, s * 0.2, s * 1.2));
        break;
    case IconShape::Previous:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(0, 0), s * 0.7, false));
        p.drawPolygon(triangle(c + QPointF(-s * 0.7, 0), s * 0.7, false));
        p.drawRect(QRectF(c.x() - s * 0.95, c.y() - s * 0.6, s * 0.2, s * 1.2));
        break;
    case IconShape::VolumeDown:
    case IconShape::VolumeUp:
    case IconShape::Mute: {
        p.setBrush(ink);
        speaker(p, c + QPointF(-s * 0.3, 0), s * 0.8);
        p.setBrush(Qt::NoBrush);
        const QPointF m = c + QPointF(s * 0.7, 0);
        if (shape == IconShape::Mute) {
            p.drawLine(m + QPointF(-s * 0.3, -s * 0.3), m + QPointF(s * 0.3, s * 0.3));
            p.drawLine(m + QPointF(-s * 0.3, s * 0.3), m + QPointF(s * 0.3, -s * 0.3));
        } else {
            p.drawLine(m + QPointF(-s * 0.3, 0), m + QPointF(s * 0.3, 0));
            if (shape == IconShape::VolumeUp) {
                p.drawLine(m + QPointF(0, -s * 0.3), m + QPointF(0, s * 0.3));
            }
        }
        break;
    }
    case IconShape::Back:
    case IconShape::Forward: {
        const qreal d = shape == IconShape::Back ? -1 : 1;
        p.drawLine(c + QPointF(-s * d, 0), c + QPointF(s * d, 0));
        p.drawLine(c + QPointF(s * d, 0), c + QPointF(s * 0.3 * d, -s * 0.7));
        p.drawLine(c + QPointF(s * d, 0), c + QPointF(s * 0.3 * d, s * 0.7));
        break;
    }
    case IconShape::WebStop:
        p.drawEllipse(c, s, s);
        p.drawLine(c + QPointF(-s * 0.45, -s * 0.45), c + QPointF(s * 0.45, s * 0.45));
        p.drawLine(c + QPointF(-s * 0.45, s * 0.45), c + QPointF(s * 0.45, -s * 0.45));
        break;
    case IconShape::Refresh: {
        p.drawArc(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s), 100 * 16, 290 * 16);
        const QPointF end = c + QPointF(s * std::cos(100 * std::numbers::pi / 180),
                                        -s * std::sin(100 * std::numbers::pi / 180));
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({end + QPointF(-s * 0.2, -s * 0.45), end + QPointF(s * 0.45, 0),
                                 end + QPointF(-s * 0.2, s * 0.45)}));
        break;
    }
    case IconShape::Star: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal r = i % 2 == 0 ? s * 1.05 : s * 0.45;
            const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            star << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.setBrush(ink);
        p.drawPolygon(star);
        break;
    }
    case IconShape::Search:
        p.drawEllipse(c + QPointF(-s * 0.2, -s * 0.2), s * 0.6, s * 0.6);
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(s * 0.25, s * 0.25), c + QPointF(s * 0.9, s * 0.9));
        break;
    case IconShape::Mail: {
        const QRectF env(c.x() - s, c.y() - s * 0.65, 2 * s, 1.3 * s);
        p.drawRect(env);
        p.drawLine(env.topLeft(), c + QPointF(0, s * 0.1));
        p.drawLine(env.topRight(), c + QPointF(0, s * 0.1));
        break;
    }
    case IconShape::Home:
        p.drawPolyline(
            QPolygonF({c + QPointF(-s, -s * 0.05), c + QPointF(0, -s), c + QPointF(s, -s * 0.05)}));
        p.drawPolyline(QPolygonF({c + QPointF(-s * 0.7, -s * 0.25), c + QPointF(-s * 0.7, s * 0.85),
                                  c + QPointF(s * 0.7, s * 0.85), c + QPointF(s * 0.7, -s * 0.25)}));
        p.drawRect(QRectF(c.x() - s * 0.2, c.y() + s * 0.3, s * 0.4, s * 0.55));
        break;
    case IconShape::Computer:
        p.drawRoundedRect(QRectF(c.x() - s, c.y() - s * 0.8, 2 * s, 1.3 * s), 1.5, 1.5);
        p.drawLine(c + QPointF(0, s * 0.5), c + QPointF(0, s * 0.85));
        p.drawLine(c + QPointF(-s * 0.5, s * 0.9), c + QPointF(s * 0.5, s * 0.9));
        break;
    case IconShape::Calculator: {
        const QRectF body(c.x() - s * 0.75, c.y() - s, 1.5 * s, 2 * s);
        p.drawRoundedRect(body, 1.5, 1.5);
        p.drawRect(QRectF(body.left() + s * 0.25, body.top() + s * 0.25, body.width() - s * 0.5, s * 0.45));
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                p.drawRect(QRectF(body.left() + s * (0.22 + 0.4 * col), body.top() + s * (1.0 + 0.42 * row),
                                  s * 0.26, s * 0.26));
            }
        }
        break;
    }
    case IconShape::StarShower:
        // Sparkles falling from the upper right, each with a short trail.
        for (int i = 0; i < 3; ++i) {
            const QPointF at = c + QPointF(-s * 0.6 + i * s * 0.6, -s * 0.55 + i * s * 0.6);
            const qreal r = s * (0.42 - i * 0.06);
            p.setPen(QPen(ink, 0.9, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(at + QPointF(r * 0.6, -r * 0.6), at + QPointF(r * 1.8, -r * 1.8));
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r * 0.3, -r * 0.3), at + QPointF(r, 0),
                                     at + QPointF(r * 0.3, r * 0.3), at + QPointF(0, r),
                                     at + QPointF(-r * 0.3, r * 0.3), at + QPointF(-r, 0),
                                     at + QPointF(-r * 0.3, -r * 0.3)}));
        }
        break;
    case IconShape::Ripple:
        p.setBrush(ink);
        p.drawEllipse(c, s * 0.15, s * 0.15);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.3));
        p.drawEllipse(c, s * 0.55, s * 0.55);
        p.setPen(QPen(ink, 1.0));
        p.drawEllipse(c, s * 1.0, s * 1.0);
        break;
    case IconShape::Breath: {
        QPainterPath wave;
        for (int i = 0; i <= 24; ++i) {
            const qreal t = i / 24.0;
            const QPointF at =
                c + QPointF((t - 0.5) * 2.2 * s, -std::sin(t * 2 * std::numbers::pi) * s * 0.6);
            if (i == 0) {
                wave.moveTo(at);
            } else {
                wave.lineTo(at);
            }
        }
        p.drawPath(wave);
        break;
    }
    case IconShape::Dimmer:
    case IconShape::Brighter: {
        const QPointF sun = c + QPointF(-s * 0.3, 0);
        p.drawEllipse(sun, s * 0.35, s * 0.35);
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * std::numbers::pi / 4;
            p.drawLine(sun + QPointF(s * 0.5 * std::cos(a), s * 0.5 * std::sin(a)),
                       sun + QPointF(s * 0.7 * std::cos(a), s * 0.7 * std::sin(a)));
        }
        p.setPen(stroke);
        const QPointF m = c + QPointF(s * 0.85, 0);
        p.drawLine(m + QPointF(-s * 0.25, 0), m + QPointF(s * 0.25, 0));
        if (shape == IconShape::Brighter) {
            p.drawLine(m + QPointF(0, -s * 0.25), m + QPointF(0, s * 0.25));
        }
        break;
    }
    case IconShape::Gamepad: {
        QPainterPath pad;
        pad.addRoundedRect(QRectF(c.x() - s, c.y() - s * 0.5, 2 * s, s * 1.1), s * 0.5, s * 0.5);
        p.drawPath(pad);
        p.drawLine(c + QPointF(-s * 0.75, 0), c + QPointF(-s * 0.25, 0));
        p.drawLine(c + QPointF(-s * 0.5, -s * 0.25), c + QPointF(-s * 0.5, s * 0.25));
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawEllipse(c + QPointF(s * 0.4, -s * 0.1), s * 0.13, s * 0.13);
        p.drawEllipse(c + QPointF(s * 0.65, s * 0.15), s * 0.13, s * 0.13);
        break;
    }
    case IconShape::Stopwatch:
        p.drawEllipse(c + QPointF(0, s * 0.15), s * 0.8, s * 0.8);
        p.drawLine(c + QPointF(0, -s * 0.65), c + QPointF(0, -s * 0.95));
        p.drawLine(c + QPointF(-s * 0.2, -s * 0.95), c + QPointF(s * 0.2, -s * 0.95));
        p.drawLine(c + QPointF(0, s * 0.15), c + QPointF(s * 0.35, -s * 0.2));
        break;
    case IconShape::ColourSwap:
        // Two colours trading places.
        p.setPen(QPen(QColor(8, 8, 10), 1));
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s * 1.05, c.y() - s * 0.95, s * 1.2, s * 1.2), 2, 2);
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(c.x() - s * 0.15, c.y() - s * 0.25, s * 1.2, s * 1.2), 2, 2);
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() + s * 0.05, c.y() - s * 1.15, s * 0.9, s * 0.9), 0, 90 * 16);
        break;
    default:
        drawMore(p, shape, box, ink);
        break;
    }
}

// The pictures added for the keyboard's own functions.
void drawMore(QPainter& p, IconShape shape, const QRectF& box, const QColor& ink) {
    const QPointF c = box.center();
    const qreal s = std::min(box.width(), box.height()) * 0.32;
    const QPen stroke(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    switch (shape) {
    case IconShape::Bluetooth: {
        const qreal h = s * 1.1;
        const qreal w = h * 0.5;
        QPainterPath rune;
        rune.moveTo(c + QPointF(-w, -h * 0.5));
        rune.lineTo(c + QPointF(w, h * 0.5));
        rune.lineTo(c + QPointF(0, h));
        rune.lineTo(c + QPointF(0, -h));
        rune.lineTo(c + QPointF(w, -h * 0.5));
        rune.lineTo(c + QPointF(-w, h * 0.5));
        p.drawPath(rune);
        break;
    }
    case IconShape::WireWireless: {
        // A plug on its cable and the waves of the radio.
        const QPointF plug = c + QPointF(-s * 0.55, s * 0.1);
        p.drawLine(plug + QPointF(0, s * 0.35), plug + QPointF(0, s * 1.0));
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(plug.x() - s * 0.35, plug.y() - s * 0.35, s * 0.7, s * 0.7), 1.5, 1.5);
        p.drawLine(plug + QPointF(-s * 0.17, -s * 0.35), plug + QPointF(-s * 0.17, -s * 0.75));
        p.drawLine(plug + QPointF(s * 0.17, -s * 0.35), plug + QPointF(s * 0.17, -s * 0.75));
        p.setBrush(Qt::NoBrush);
        const QPointF wave = c + QPointF(s * 0.2, -s * 0.25);
        for (int i = 1; i <= 2; ++i) {
            const qreal r = s * 0.45 * i;
            p.drawArc(QRectF(wave.x() - r, wave.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
        }
        break;
    }
    case IconShape::Trigger: {
        // A key cap beside the travel it is pressed along, the point where it
        // acts marked across it.
        const QPointF capAt = c + QPointF(-s * 0.45, 0);
        QPolygonF cap({capAt + QPointF(-s * 0.6, s * 0.1), capAt + QPointF(-s * 0.4, -s * 0.55),
                       capAt + QPointF(s * 0.4, -s * 0.55), capAt + QPointF(s * 0.6, s * 0.1)});
        p.setBrush(ink);
        p.drawPolygon(cap);
        p.setBrush(Qt::NoBrush);
        p.drawLine(capAt + QPointF(0, s * 0.1), capAt + QPointF(0, s * 0.9));
        const QPointF travel = c + QPointF(s * 0.75, 0);
        p.drawLine(travel + QPointF(0, -s), travel + QPointF(0, s));
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        for (qreal dir : {-1.0, 1.0}) {
            const QPointF tip = travel + QPointF(0, dir * s * 1.1);
            p.drawPolygon(QPolygonF(
                {tip, tip + QPointF(-s * 0.3, -dir * s * 0.4), tip + QPointF(s * 0.3, -dir * s * 0.4)}));
        }
        p.setPen(QPen(ink, 1.2, Qt::DotLine, Qt::FlatCap));
        p.drawLine(c + QPointF(-s * 1.1, s * 0.45), travel + QPointF(s * 0.35, s * 0.45));
        break;
    }
    case IconShape::Gauge: {
        const QPointF hub = c + QPointF(0, s * 0.35);
        const qreal r = s * 1.05;
        p.drawArc(QRectF(hub.x() - r, hub.y() - r, 2 * r, 2 * r), 0, 180 * 16);
        p.setPen(QPen(ink, 1.1, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i <= 4; ++i) {
            const qreal a = std::numbers::pi * i / 4;
            p.drawLine(hub + QPointF(-r * 0.72 * std::cos(a), -r * 0.72 * std::sin(a)),
                       hub + QPointF(-r * 0.9 * std::cos(a), -r * 0.9 * std::sin(a)));
        }
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(hub, hub + QPointF(r * 0.55, -r * 0.55));
        p.setBrush(ink);
        p.drawEllipse(hub, s * 0.16, s * 0.16);
        break;
    }
    case IconShape::ProgramKey: {
        // A key with a cog: the keyboard that runs its own programs.
        p.drawRoundedRect(QRectF(c.x() - s, c.y() - s, s * 1.5, s * 1.5), 2, 2);
        const QPointF cog = c + QPointF(s * 0.45, s * 0.45);
        p.setBrush(QColor(30, 32, 36));
        p.setPen(QPen(ink, 1.3));
        QPolygonF teeth;
        for (int i = 0; i < 16; ++i) {
            const qreal a = i * std::numbers::pi / 8;
            const qreal r = i % 2 == 0 ? s * 0.62 : s * 0.45;
            teeth << cog + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.drawPolygon(teeth);
        p.drawEllipse(cog, s * 0.17, s * 0.17);
        break;
    }
    case IconShape::Leaf: {
        QPainterPath leaf;
        const QPointF tip = c + QPointF(s * 0.95, -s * 0.95);
        const QPointF stem = c + QPointF(-s * 0.7, s * 0.7);
        leaf.moveTo(stem);
        leaf.quadTo(c + QPointF(-s * 1.0, -s * 0.9), tip);
        leaf.quadTo(c + QPointF(s * 0.9, s * 0.9), stem);
        p.setBrush(ink);
        p.drawPath(leaf);
        p.setPen(QPen(QColor(30, 32, 36), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(stem, c + QPointF(s * 0.45, -s * 0.45));
        p.setPen(stroke);
        p.drawLine(stem, stem + QPointF(-s * 0.3, s * 0.3));
        break;
    }
    case IconShape::Bulb: {
        const QPointF glass = c + QPointF(0, -s * 0.3);
        p.drawEllipse(glass, s * 0.68, s * 0.68);
        p.drawLine(c + QPointF(-s * 0.3, s * 0.45), c + QPointF(s * 0.3, s * 0.45));
        p.drawLine(c + QPointF(-s * 0.25, s * 0.75), c + QPointF(s * 0.25, s * 0.75));
        p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(glass + QPointF(0, -s * 0.25), glass + QPointF(0, s * 0.35));
        break;
    }
    case IconShape::BreathFaster:
    case IconShape::BreathSlower: {
        QPainterPath wave;
        for (int i = 0; i <= 24; ++i) {
            const qreal t = i / 24.0;
            const QPointF at = c + QPointF((t - 0.5) * 1.7 * s - s * 0.35,
                                           -std::sin(t * 4 * std::numbers::pi) * s * 0.5 + s * 0.1);
            if (i == 0) {
                wave.moveTo(at);
            } else {
                wave.lineTo(at);
            }
        }
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(wave);
        const QPointF sign = c + QPointF(s * 0.85, -s * 0.65);
        p.setPen(stroke);
        p.drawLine(sign + QPointF(-s * 0.28, 0), sign + QPointF(s * 0.28, 0));
        if (shape == IconShape::BreathFaster) {
            p.drawLine(sign + QPointF(0, -s * 0.28), sign + QPointF(0, s * 0.28));
        }
        break;
    }
    case IconShape::Padlock: {
        p.setPen(QPen(ink, 1.5));
        p.drawArc(QRectF(c.x() - s * 0.55, c.y() - s * 1.05, s * 1.1, s * 1.2), 0, 180 * 16);
        p.drawLine(c + QPointF(-s * 0.55, -s * 0.45), c + QPointF(-s * 0.55, -s * 0.2));
        p.drawLine(c + QPointF(s * 0.55, -s * 0.45), c + QPointF(s * 0.55, -s * 0.2));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s * 0.85, c.y() - s * 0.25, s * 1.7, s * 1.15), 1.2, 1.2);
        break;
    }
    case IconShape::StopSquare:
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s * 0.55, c.y() - s * 0.55, s * 1.1, s * 1.1), 1.2, 1.2);
        break;
    default:
        break;
    }
}

} // namespace

void DrawIconShape(QPainter& p, IconShape shape, const QRectF& box, const QColor& ink, const QColor& accent) {
    p.save();
    drawStroked(p, shape, box, ink, accent);
    p.restore();
}
