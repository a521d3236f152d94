#include "resources/SkinIcons.h"

#include "resources/IconShapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

enum class Family { Media, Radio, Lighting, Other };

// How a button shows its function: a picture, a short legend for the
// functions that have no common symbol, a picture over a small legend, or
// the radio's rune beside its device number.
enum class Layout { Picture, Legend, PictureOverLegend, RuneAndNumber };

struct CodeIcon {
    int code;
    Layout layout;
    IconShape shape;
    const char* legend;
    Family family;
};

using S = IconShape;
using L = Layout;

// clang-format off
const CodeIcon kIcons[] = {
    {115, L::Picture,           S::Note,         "",          Family::Media},
    {111, L::Picture,           S::PlayPause,    "",          Family::Media},
    {110, L::Picture,           S::Stop,         "",          Family::Media},
    {108, L::Picture,           S::Next,         "",          Family::Media},
    {109, L::Picture,           S::Previous,     "",          Family::Media},
    {114, L::Picture,           S::VolumeDown,   "",          Family::Media},
    {113, L::Picture,           S::VolumeUp,     "",          Family::Media},
    {112, L::Picture,           S::Mute,         "",          Family::Media},
    {121, L::Picture,           S::Back,         "",          Family::Media},
    {122, L::Picture,           S::Forward,      "",          Family::Media},
    {123, L::Picture,           S::WebStop,      "",          Family::Media},
    {124, L::Picture,           S::Refresh,      "",          Family::Media},
    {125, L::Picture,           S::Star,         "",          Family::Media},
    {119, L::Picture,           S::Search,       "",          Family::Media},
    {116, L::Picture,           S::Mail,         "",          Family::Media},
    {120, L::Picture,           S::Home,         "",          Family::Media},
    {118, L::Picture,           S::Computer,     "",          Family::Media},
    {117, L::Picture,           S::Calculator,   "",          Family::Media},
    {168, L::RuneAndNumber,     S::Bluetooth,    "1",         Family::Radio},
    {169, L::RuneAndNumber,     S::Bluetooth,    "2",         Family::Radio},
    {170, L::RuneAndNumber,     S::Bluetooth,    "3",         Family::Radio},
    {180, L::RuneAndNumber,     S::Bluetooth,    "4",         Family::Radio},
    {181, L::RuneAndNumber,     S::Bluetooth,    "5",         Family::Radio},
    {167, L::Picture,           S::WireWireless, "",          Family::Radio},
    {151, L::Picture,           S::Trigger,      "",          Family::Other},
    {171, L::Picture,           S::Gamepad,      "",          Family::Other},
    {172, L::Picture,           S::Leaf,         "",          Family::Other},
    {155, L::Legend,            S::Note,         "WIN\nMAC",  Family::Other},
    {153, L::PictureOverLegend, S::Padlock,      "WIN",       Family::Other},
    {154, L::PictureOverLegend, S::Padlock,      "FN",        Family::Other},
    {150, L::PictureOverLegend, S::Padlock,      "KEY",       Family::Other},
    {174, L::Picture,           S::Gauge,        "",          Family::Other},
    {175, L::Picture,           S::Stopwatch,    "",          Family::Other},
    {156, L::Legend,            S::Note,         "FN",        Family::Other},
    {159, L::Picture,           S::ProgramKey,   "",          Family::Other},
    {152, L::Legend,            S::Note,         "CAPS\nCTRL", Family::Other},
    {137, L::Legend,            S::Note,         "DEMO",      Family::Lighting},
    {138, L::Picture,           S::StarShower,   "",          Family::Lighting},
    {139, L::Picture,           S::Ripple,       "",          Family::Lighting},
    {144, L::Picture,           S::Dimmer,       "",          Family::Lighting},
    {145, L::Picture,           S::Brighter,     "",          Family::Lighting},
    {160, L::Legend,            S::Note,         "REC\n1",    Family::Lighting},
    {161, L::Legend,            S::Note,         "REC\n2",    Family::Lighting},
    {162, L::Legend,            S::Note,         "REC\n3",    Family::Lighting},
    {163, L::Legend,            S::Note,         "REC\n4",    Family::Lighting},
    {164, L::Legend,            S::Note,         "REC\n5",    Family::Lighting},
    {165, L::Legend,            S::Note,         "REC\n6",    Family::Lighting},
    {135, L::Picture,           S::Bulb,         "",          Family::Lighting},
    {141, L::Picture,           S::Breath,       "",          Family::Lighting},
    {136, L::Legend,            S::Note,         "DIY",       Family::Lighting},
    {143, L::Picture,           S::BreathFaster, "",          Family::Lighting},
    {142, L::Picture,           S::BreathSlower, "",          Family::Lighting},
    {140, L::PictureOverLegend, S::StopSquare,   "DEMO",      Family::Lighting},
    {148, L::Picture,           S::ColourSwap,   "",          Family::Lighting},
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

// Read from the model names: ".BT" and "BT" carry the radio, "RGB" the backlight.
bool modelHasRadio(int modelType) {
    return modelType != 3 && modelType != 4;
}

bool modelHasLighting(int modelType) {
    return modelType != 2 && modelType != 3;
}

QColor inkOf(Family family, Look look, bool available) {
    if (!available) {
        // Dimmed in every look: the pointer and the choice lighten it only a little.
        return look == Look::Normal ? QColor(88, 90, 95) : QColor(132, 128, 124);
    }
    if (look == Look::Pressed) {
        return QColor(255, 236, 214); // on the accent-tinted face of a chosen button
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
    const QColor ink = inkOf(icon->family, look, available);
    const QColor accent = available ? QColor(60, 190, 255) : ink.darker(130);
    const QRectF box = toRectF(rect).adjusted(3, 3, -3, -4);
    const QString legend = QString::fromLatin1(icon->legend);
    switch (icon->layout) {
    case Layout::Legend:
        skin.fittedText(box, legend, ink, 10, true);
        break;
    case Layout::Picture:
        DrawIconShape(p, icon->shape, box, ink, accent);
        break;
    case Layout::PictureOverLegend: {
        const QRectF picture(box.left(), box.top(), box.width(), box.height() * 0.66);
        DrawIconShape(p, icon->shape, picture.adjusted(0, 2, 0, 2), ink, accent);
        skin.fittedText(QRectF(box.left(), box.top() + box.height() * 0.62, box.width(), box.height() * 0.4),
                        legend, ink, 8, true);
        break;
    }
    case Layout::RuneAndNumber:
        DrawIconShape(p, icon->shape, QRectF(box.left(), box.top(), box.width() * 0.62, box.height()), ink,
                      accent);
        skin.fittedText(QRectF(box.left() + box.width() * 0.5, box.top() + box.height() * 0.3,
                               box.width() * 0.5, box.height() * 0.6),
                        legend, ink, 12, true);
        break;
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

    // The four directions the pointer keys move it.
    p.setPen(QPen(QColor(150, 154, 160), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF centre = body.center();
    const qreal reach = 24;
    const struct {
        QPointF tip;
        QPointF back;
    } arrows[] = {
        {QPointF(body.left() - reach, centre.y()), QPointF(8, 0)},
        {QPointF(body.right() + reach, centre.y()), QPointF(-8, 0)},
        {QPointF(centre.x(), body.top() - 14), QPointF(0, 8)},
        {QPointF(centre.x(), body.bottom() + 6), QPointF(0, -8)},
    };
    for (const auto& arrow : arrows) {
        const QPointF side(arrow.back.y(), arrow.back.x());
        p.drawPolyline(QPolygonF({arrow.tip + arrow.back + side, arrow.tip, arrow.tip + arrow.back - side}));
    }
}

void DrawRepeatIllustration(SkinPainter& skin, const QRectF& area) {
    QPainter& p = skin.painter();
    // Echoes of the cap fade towards the back.
    const QSizeF cap(46, 42);
    const QPointF front(area.center().x() - cap.width() / 2 - 24, area.center().y() - cap.height() / 2 + 8);
    for (int echo = 2; echo >= 0; --echo) {
        const QRectF r(front + QPointF(echo * 9, -echo * 9), cap);
        QLinearGradient face(0, r.top(), 0, r.bottom());
        const int alpha = echo == 0 ? 255 : 110 - echo * 30;
        face.setColorAt(0.0, QColor(78, 82, 90, alpha));
        face.setColorAt(1.0, QColor(44, 47, 52, alpha));
        p.setPen(QPen(QColor(8, 8, 10, alpha), 1));
        p.setBrush(face);
        p.drawRoundedRect(r, 5, 5);
        p.setPen(QPen(QColor(255, 255, 255, alpha / 6), 1));
        p.drawLine(QPointF(r.left() + 4, r.top() + 1.5), QPointF(r.right() - 4, r.top() + 1.5));
    }
    // The loop that strikes it again, turning against the clock to its head.
    const QPointF hub(front.x() + cap.width() + 44, front.y() + cap.height() / 2 - 6);
    const qreal r = 19;
    const QColor ink(150, 154, 160);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    constexpr int kStartDegrees = 110;
    constexpr int kSpanDegrees = 280;
    p.drawArc(QRectF(hub.x() - r, hub.y() - r, 2 * r, 2 * r), kStartDegrees * 16, kSpanDegrees * 16);
    const qreal end = (kStartDegrees + kSpanDegrees) * std::numbers::pi / 180;
    const QPointF at = hub + QPointF(r * std::cos(end), -r * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF out(std::cos(end), -std::sin(end));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({at + along * 8, at - along * 2 + out * 6, at - along * 2 - out * 6}));
}

void DrawPowerIcon(SkinPainter& skin, const QRectF& area, int code) {
    QPainter& p = skin.painter();
    const QPointF c = area.center();
    const qreal r = std::min(area.width(), area.height()) * 0.32;
    // A recessed medallion carries each symbol.
    const qreal m = std::min(area.width(), area.height()) * 0.5;
    QRadialGradient well(c - QPointF(0, m * 0.4), m * 1.6);
    well.setColorAt(0.0, QColor(20, 21, 24));
    well.setColorAt(1.0, QColor(44, 47, 52));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.setBrush(well);
    p.drawEllipse(c, m, m);
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
