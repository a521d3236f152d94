#include "resources/SkinIcons.h"

#include "resources/SkinFonts.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

enum class Shape {
    Note,
    PlayPause,
    Stop,
    Next,
    Previous,
    VolumeDown,
    VolumeUp,
    Mute,
    Back,
    Forward,
    WebStop,
    Refresh,
    Star,
    Search,
    Mail,
    Home,
    Computer,
    Calculator,
    StarShower,
    Ripple,
    Breath,
    Dimmer,
    Brighter,
    Gamepad,
    Stopwatch,
    Lock,
    ColourSwap,
    Text,
};

enum class Family { Media, Radio, Lighting, Other };

// One row per device code that carries a picture: a drawn shape, or a short
// legend for the functions that have no common symbol.
struct CodeIcon {
    int code;
    Shape shape;
    const char* legend;
    Family family;
};

// clang-format off
const CodeIcon kIcons[] = {
    {115, Shape::Note,       "",            Family::Media},
    {111, Shape::PlayPause,  "",            Family::Media},
    {110, Shape::Stop,       "",            Family::Media},
    {108, Shape::Next,       "",            Family::Media},
    {109, Shape::Previous,   "",            Family::Media},
    {114, Shape::VolumeDown, "",            Family::Media},
    {113, Shape::VolumeUp,   "",            Family::Media},
    {112, Shape::Mute,       "",            Family::Media},
    {121, Shape::Back,       "",            Family::Media},
    {122, Shape::Forward,    "",            Family::Media},
    {123, Shape::WebStop,    "",            Family::Media},
    {124, Shape::Refresh,    "",            Family::Media},
    {125, Shape::Star,       "",            Family::Media},
    {119, Shape::Search,     "",            Family::Media},
    {116, Shape::Mail,       "",            Family::Media},
    {120, Shape::Home,       "",            Family::Media},
    {118, Shape::Computer,   "",            Family::Media},
    {117, Shape::Calculator, "",            Family::Media},
    {168, Shape::Text,       "BT\n1",       Family::Radio},
    {169, Shape::Text,       "BT\n2",       Family::Radio},
    {170, Shape::Text,       "BT\n3",       Family::Radio},
    {180, Shape::Text,       "BT\n4",       Family::Radio},
    {181, Shape::Text,       "BT\n5",       Family::Radio},
    {167, Shape::Text,       "USB\nBT",     Family::Radio},
    {151, Shape::Text,       "TRIG",        Family::Other},
    {171, Shape::Gamepad,    "",            Family::Other},
    {172, Shape::Text,       "ECO",         Family::Other},
    {155, Shape::Text,       "WIN\nMAC",    Family::Other},
    {153, Shape::Lock,       "WIN",         Family::Other},
    {154, Shape::Lock,       "FN",          Family::Other},
    {150, Shape::Lock,       "KEY",         Family::Other},
    {174, Shape::Text,       "RATE",        Family::Other},
    {175, Shape::Stopwatch,  "",            Family::Other},
    {156, Shape::Text,       "FN",          Family::Other},
    {159, Shape::Text,       "PROG",        Family::Other},
    {152, Shape::Text,       "CAPS\nCTRL",  Family::Other},
    {137, Shape::Text,       "DEMO",        Family::Lighting},
    {138, Shape::StarShower, "",            Family::Lighting},
    {139, Shape::Ripple,     "",            Family::Lighting},
    {144, Shape::Dimmer,     "",            Family::Lighting},
    {145, Shape::Brighter,   "",            Family::Lighting},
    {160, Shape::Text,       "REC\n1",      Family::Lighting},
    {161, Shape::Text,       "REC\n2",      Family::Lighting},
    {162, Shape::Text,       "REC\n3",      Family::Lighting},
    {163, Shape::Text,       "REC\n4",      Family::Lighting},
    {164, Shape::Text,       "REC\n5",      Family::Lighting},
    {165, Shape::Text,       "REC\n6",      Family::Lighting},
    {135, Shape::Text,       "ON\nOFF",     Family::Lighting},
    {141, Shape::Breath,     "",            Family::Lighting},
    {136, Shape::Text,       "DIY",         Family::Lighting},
    {143, Shape::Text,       "FREQ\n+",     Family::Lighting},
    {142, Shape::Text,       "FREQ\n-",     Family::Lighting},
    {140, Shape::Text,       "DEMO\nSTOP",  Family::Lighting},
    {148, Shape::ColourSwap, "",            Family::Lighting},
};
// clang-format on

const CodeIcon* iconOf(int code) {
    for (const CodeIcon& icon : kIcons) {
        if (icon.code == code) {
            return &icon;
        }
    }
    return nullptr;
}

bool modelHasRadio(int modelType) {
    return modelType != 3 && modelType != 4;
}

bool modelHasLighting(int modelType) {
    return modelType != 2 && modelType != 3;
}

QPolygonF triangle(QPointF tip, qreal size, bool right) {
    const qreal dx = right ? -size : size;
    return QPolygonF({tip, tip + QPointF(dx, -size * 0.8), tip + QPointF(dx, size * 0.8)});
}

void speaker(QPainter& p, QPointF c, qreal s) {
    QPolygonF body({c + QPointF(-s, -s * 0.35), c + QPointF(-s * 0.45, -s * 0.35), c + QPointF(0.1 * s, -s),
                    c + QPointF(0.1 * s, s), c + QPointF(-s * 0.45, s * 0.35), c + QPointF(-s, s * 0.35)});
    p.drawPolygon(body);
}

void drawShape(QPainter& p, Shape shape, const QRectF& box, const QColor& ink) {
    const QPointF c = box.center();
    const qreal s = std::min(box.width(), box.height()) * 0.32;
    const QPen stroke(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    switch (shape) {
    case Shape::Note: {
        p.setBrush(ink);
        p.drawEllipse(QRectF(c.x() - s, c.y() + s * 0.35, s * 0.8, s * 0.6));
        p.drawEllipse(QRectF(c.x() + s * 0.2, c.y() + s * 0.1, s * 0.8, s * 0.6));
        p.drawLine(c + QPointF(-s * 0.22, s * 0.6), c + QPointF(-s * 0.22, -s));
        p.drawLine(c + QPointF(s * 0.98, s * 0.35), c + QPointF(s * 0.98, -s * 1.2));
        p.drawLine(c + QPointF(-s * 0.22, -s), c + QPointF(s * 0.98, -s * 1.2));
        break;
    }
    case Shape::PlayPause:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(s * 0.15, 0), s * 0.9, true));
        p.drawRect(QRectF(c.x() + s * 0.35, c.y() - s * 0.7, s * 0.22, s * 1.4));
        p.drawRect(QRectF(c.x() + s * 0.75, c.y() - s * 0.7, s * 0.22, s * 1.4));
        break;
    case Shape::Stop:
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s * 0.7, c.y() - s * 0.7, s * 1.4, s * 1.4), 1.5, 1.5);
        break;
    case Shape::Next:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(0, 0), s * 0.7, true));
        p.drawPolygon(triangle(c + QPointF(s * 0.7, 0), s * 0.7, true));
        p.drawRect(QRectF(c.x() + s * 0.75, c.y() - s * 0.6, s * 0.2, s * 1.2));
        break;
    case Shape::Previous:
        p.setBrush(ink);
        p.drawPolygon(triangle(c + QPointF(0, 0), s * 0.7, false));
        p.drawPolygon(triangle(c + QPointF(-s * 0.7, 0), s * 0.7, false));
        p.drawRect(QRectF(c.x() - s * 0.95, c.y() - s * 0.6, s * 0.2, s * 1.2));
        break;
    case Shape::VolumeDown:
    case Shape::VolumeUp:
    case Shape::Mute: {
        p.setBrush(ink);
        speaker(p, c + QPointF(-s * 0.3, 0), s * 0.8);
        p.setBrush(Qt::NoBrush);
        const QPointF m = c + QPointF(s * 0.7, 0);
        if (shape == Shape::Mute) {
            p.drawLine(m + QPointF(-s * 0.3, -s * 0.3), m + QPointF(s * 0.3, s * 0.3));
            p.drawLine(m + QPointF(-s * 0.3, s * 0.3), m + QPointF(s * 0.3, -s * 0.3));
        } else {
            p.drawLine(m + QPointF(-s * 0.3, 0), m + QPointF(s * 0.3, 0));
            if (shape == Shape::VolumeUp) {
                p.drawLine(m + QPointF(0, -s * 0.3), m + QPointF(0, s * 0.3));
            }
        }
        break;
    }
    case Shape::Back:
    case Shape::Forward: {
        const qreal d = shape == Shape::Back ? -1 : 1;
        p.drawLine(c + QPointF(-s * d, 0), c + QPointF(s * d, 0));
        p.drawLine(c + QPointF(s * d, 0), c + QPointF(s * 0.3 * d, -s * 0.7));
        p.drawLine(c + QPointF(s * d, 0), c + QPointF(s * 0.3 * d, s * 0.7));
        break;
    }
    case Shape::WebStop:
        p.drawEllipse(c, s, s);
        p.drawLine(c + QPointF(-s * 0.45, -s * 0.45), c + QPointF(s * 0.45, s * 0.45));
        p.drawLine(c + QPointF(-s * 0.45, s * 0.45), c + QPointF(s * 0.45, -s * 0.45));
        break;
    case Shape::Refresh: {
        p.drawArc(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s), 100 * 16, 290 * 16);
        const QPointF end = c + QPointF(s * std::cos(100 * std::numbers::pi / 180),
                                        -s * std::sin(100 * std::numbers::pi / 180));
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({end + QPointF(-s * 0.2, -s * 0.45), end + QPointF(s * 0.45, 0),
                                 end + QPointF(-s * 0.2, s * 0.45)}));
        break;
    }
    case Shape::Star: {
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
    case Shape::Search:
        p.drawEllipse(c + QPointF(-s * 0.2, -s * 0.2), s * 0.6, s * 0.6);
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(s * 0.25, s * 0.25), c + QPointF(s * 0.9, s * 0.9));
        break;
    case Shape::Mail: {
        const QRectF env(c.x() - s, c.y() - s * 0.65, 2 * s, 1.3 * s);
        p.drawRect(env);
        p.drawLine(env.topLeft(), c + QPointF(0, s * 0.1));
        p.drawLine(env.topRight(), c + QPointF(0, s * 0.1));
        break;
    }
    case Shape::Home:
        p.drawPolyline(
            QPolygonF({c + QPointF(-s, -s * 0.05), c + QPointF(0, -s), c + QPointF(s, -s * 0.05)}));
        p.drawPolyline(QPolygonF({c + QPointF(-s * 0.7, -s * 0.25), c + QPointF(-s * 0.7, s * 0.85),
                                  c + QPointF(s * 0.7, s * 0.85), c + QPointF(s * 0.7, -s * 0.25)}));
        p.drawRect(QRectF(c.x() - s * 0.2, c.y() + s * 0.3, s * 0.4, s * 0.55));
        break;
    case Shape::Computer:
        p.drawRoundedRect(QRectF(c.x() - s, c.y() - s * 0.8, 2 * s, 1.3 * s), 1.5, 1.5);
        p.drawLine(c + QPointF(0, s * 0.5), c + QPointF(0, s * 0.85));
        p.drawLine(c + QPointF(-s * 0.5, s * 0.9), c + QPointF(s * 0.5, s * 0.9));
        break;
    case Shape::Calculator: {
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
    case Shape::StarShower:
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
    case Shape::Ripple:
        p.setBrush(ink);
        p.drawEllipse(c, s * 0.15, s * 0.15);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.3));
        p.drawEllipse(c, s * 0.55, s * 0.55);
        p.setPen(QPen(ink, 1.0));
        p.drawEllipse(c, s * 1.0, s * 1.0);
        break;
    case Shape::Breath: {
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
    case Shape::Dimmer:
    case Shape::Brighter: {
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
        if (shape == Shape::Brighter) {
            p.drawLine(m + QPointF(0, -s * 0.25), m + QPointF(0, s * 0.25));
        }
        break;
    }
    case Shape::Gamepad: {
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
    case Shape::Stopwatch:
        p.drawEllipse(c + QPointF(0, s * 0.15), s * 0.8, s * 0.8);
        p.drawLine(c + QPointF(0, -s * 0.65), c + QPointF(0, -s * 0.95));
        p.drawLine(c + QPointF(-s * 0.2, -s * 0.95), c + QPointF(s * 0.2, -s * 0.95));
        p.drawLine(c + QPointF(0, s * 0.15), c + QPointF(s * 0.35, -s * 0.2));
        break;
    case Shape::ColourSwap:
        p.setPen(QPen(ink, 1.3));
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - s, c.y() - s * 0.9, s * 1.2, s * 1.2), 2, 2);
        p.setBrush(QColor(30, 32, 36));
        p.drawRoundedRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.3, s * 1.2, s * 1.2), 2, 2);
        break;
    case Shape::Lock:
    case Shape::Text:
        break;
    }
}

// A padlock over a short legend: the locks of the Win key, Fn and the keyboard.
void drawLock(SkinPainter& skin, const QRectF& box, const QString& legend, const QColor& ink) {
    QPainter& p = skin.painter();
    const QPointF c(box.center().x(), box.top() + box.height() * 0.33);
    const qreal s = box.height() * 0.2;
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - s * 0.6, c.y() - s * 1.2, s * 1.2, s * 1.4), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(c.x() - s * 0.9, c.y() - s * 0.45, s * 1.8, s * 1.3), 1.2, 1.2);
    skin.fittedText(QRectF(box.left(), box.top() + box.height() * 0.6, box.width(), box.height() * 0.4),
                    legend, ink, 8, true);
}

QColor familyInk(Family family, Look look) {
    if (look == Look::Pressed) {
        return QColor(255, 176, 90);
    }
    switch (family) {
    case Family::Radio:
        return look == Look::Hover ? QColor(190, 215, 255) : QColor(140, 180, 255);
    case Family::Lighting:
        return look == Look::Hover ? QColor(255, 240, 190) : QColor(240, 210, 130);
    default:
        return look == Look::Hover ? QColor(255, 255, 255) : QColor(222, 224, 228);
    }
}

} // namespace

bool FunctionAvailable(int code, int modelType) {
    const CodeIcon* icon = iconOf(code);
    if (icon == nullptr || modelType == 0) {
        return true;
    }
    if (icon->family == Family::Radio) {
        return modelHasRadio(modelType);
    }
    if (icon->family == Family::Lighting) {
        return modelHasLighting(modelType);
    }
    return true;
}

void DrawCodeIcon(SkinPainter& skin, const SkinRect& rect, int code, Look look, bool available) {
    const CodeIcon* icon = iconOf(code);
    if (icon == nullptr) {
        return;
    }
    QPainter& p = skin.painter();
    QColor ink = familyInk(icon->family, look);
    if (!available) {
        ink = QColor(96, 98, 102);
    }
    const QRectF box = toRectF(rect).adjusted(3, 3, -3, -4);
    if (icon->shape == Shape::Text) {
        skin.fittedText(box, QString::fromLatin1(icon->legend), ink, 10, true);
    } else if (icon->shape == Shape::Lock) {
        drawLock(skin, box, QString::fromLatin1(icon->legend), ink);
    } else {
        drawShape(p, icon->shape, box, ink);
    }
}

void DrawMouseIllustration(SkinPainter& skin, const QRectF& area) {
    QPainter& p = skin.painter();
    const QRectF body(area.center().x() - 52, area.top() + 10, 104, 170);
    QPainterPath shell;
    shell.addRoundedRect(body, 52, 60);
    QRadialGradient face(body.center() - QPointF(20, 40), 150);
    face.setColorAt(0.0, QColor(86, 90, 98));
    face.setColorAt(1.0, QColor(28, 30, 34));
    p.setPen(QPen(QColor(8, 8, 10), 1.2));
    p.setBrush(face);
    p.drawPath(shell);
    p.setPen(QPen(QColor(10, 10, 12), 1.5));
    p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), body.top() + 62));
    p.drawLine(QPointF(body.left() + 4, body.top() + 62), QPointF(body.right() - 4, body.top() + 62));
    const QRectF wheel(body.center().x() - 6, body.top() + 18, 12, 28);
    p.setPen(QPen(QColor(6, 6, 8), 1));
    p.setBrush(skin::kAccent);
    p.drawRoundedRect(wheel, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shell);
}

void DrawPowerIcon(SkinPainter& skin, const QRectF& area, int code) {
    QPainter& p = skin.painter();
    const QPointF c = area.center();
    const qreal r = std::min(area.width(), area.height()) * 0.32;
    p.setPen(QPen(QColor(220, 222, 226), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (code) {
    case 75: // wake: a rising sun
        p.drawEllipse(c, r * 0.5, r * 0.5);
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * std::numbers::pi / 4;
            p.drawLine(c + QPointF(r * 0.75 * std::cos(a), r * 0.75 * std::sin(a)),
                       c + QPointF(r * std::cos(a), r * std::sin(a)));
        }
        break;
    case 76: { // sleep: a crescent
        QPainterPath moon;
        moon.addEllipse(c, r, r);
        QPainterPath bite;
        bite.addEllipse(c + QPointF(r * 0.55, -r * 0.35), r * 0.85, r * 0.85);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 222, 226));
        p.drawPath(moon.subtracted(bite));
        break;
    }
    default: // power
        p.setPen(QPen(skin::kAccent, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 120 * 16, 300 * 16);
        p.drawLine(c + QPointF(0, -r * 1.15), c + QPointF(0, -r * 0.2));
        break;
    }
}
