#include "app/elements/MainWindowElements.h"
#include "app/elements/SkinItemPainting.h"
#include "resources/SkinFonts.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

constexpr int kWidth = kMainWindowWidth;
constexpr int kHeight = kMainWindowHeight;
constexpr int kTitleBottom = 68;

// The legend swatch sits left of its label, vertically centred on the text.
constexpr int kSwatchWidth = 14;
constexpr int kSwatchHeight = 12;
constexpr int kSwatchGap = 6;

const QRectF kCase(165, 152, 947, 380);

struct LegendSwatch {
    int labelId;
    int keyMode;
};
const LegendSwatch kLegend[] = {{55, 2}, {56, 3}, {57, 4}, {58, 5}, {59, 6}, {60, 7}, {61, 8}};

CapStyle capStyleFor(int modelType) {
    switch (modelType) {
    // Models without backlight: only a faint rim of reflected light.
    case 2:
        return {QColor(120, 130, 150), false, 12};
    case 3:
        return {QColor(140, 132, 122), false, 12};
    default:
        return {QColor(255, 255, 255), true, 12};
    }
}

bool hasBluetooth(int modelType) {
    return modelType != 3 && modelType != 4;
}

void drawCommandRow(SkinPainter& skin, const SkinTable& table, Look look) {
    int right = 0;
    for (const SkinItem& item : table) {
        if (item.id >= kCmdLanguage && item.id <= kCmdFirmware && item.id != kCmdHelp &&
            item.id != kCmdHide && item.id != kCmdExit) {
            right = std::max(right, item.rect.right);
        }
    }
    skin.plate(QRectF(9, 86, right + 6 - 9, 48), 8);
    for (const SkinItem& item : table) {
        if (item.id < kCmdLanguage || item.id > kCmdFirmware) {
            continue;
        }
        switch (item.id) {
        case kCmdHelp:
            skin.glyphButton(item.rect, Glyph::Help, look);
            break;
        case kCmdHide:
            skin.glyphButton(item.rect, Glyph::Minimise, look);
            break;
        case kCmdExit:
            skin.glyphButton(item.rect, Glyph::Close, look);
            break;
        default:
            skin.button(item.rect, look);
            break;
        }
    }
}

// A slide switch between the two layer names: knob left for the top layer,
// right (and lit green) for the Fn layer.
void drawLayerSwitch(SkinPainter& skin, const SkinRect& rect, Look look) {
    QPainter& p = skin.painter();
    const bool fnLayer = look == Look::Pressed;
    const QRectF area = toRectF(rect);
    const QRectF track(area.left() + 4, area.center().y() - 9, area.width() - 8, 18);

    // Two stacked sheets above the switch stand for the layers.
    p.setPen(QPen(QColor(150, 154, 160), 1.2));
    p.setBrush(QColor(46, 49, 54));
    const QPointF iconAt(area.center().x() - 7, area.top() + 3);
    p.drawRoundedRect(QRectF(iconAt + QPointF(4, 0), QSizeF(10, 8)), 1.5, 1.5);
    p.setBrush(fnLayer ? QColor(40, 140, 60) : QColor(120, 70, 20));
    p.drawRoundedRect(QRectF(iconAt + QPointF(0, 4), QSizeF(10, 8)), 1.5, 1.5);

    QLinearGradient well(0, track.top(), 0, track.bottom());
    if (fnLayer) {
        well.setColorAt(0.0, QColor(10, 70, 24));
        well.setColorAt(1.0, QColor(30, 150, 56));
    } else {
        well.setColorAt(0.0, QColor(10, 10, 12));
        well.setColorAt(1.0, QColor(40, 42, 46));
    }
    p.setPen(QPen(look == Look::Hover ? skin::kAccent : QColor(8, 8, 10), 1.2));
    p.setBrush(well);
    p.drawRoundedRect(track, 9, 9);

    const qreal knobSide = 16;
    const qreal knobX = fnLayer ? track.right() - knobSide - 1 : track.left() + 1;
    const QRectF knob(knobX, track.top() + 1, knobSide, knobSide);
    QRadialGradient face(knob.center() - QPointF(2, 3), knobSide);
    face.setColorAt(0.0, look == Look::Hover ? QColor(255, 220, 180) : QColor(230, 232, 236));
    face.setColorAt(1.0, look == Look::Hover ? QColor(200, 110, 30) : QColor(120, 124, 130));
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(face);
    p.drawEllipse(knob);
}

void drawCaseDetails(SkinPainter& skin, int modelType) {
    QPainter& p = skin.painter();
    // Three status lamps over the right-hand block, as on the keyboard.
    for (int i = 0; i < 3; ++i) {
        const QRectF lamp(1000 + i * 16, 158, 6, 6);
        QRadialGradient glow(lamp.center(), 5);
        glow.setColorAt(0.0, QColor(200, 255, 210));
        glow.setColorAt(1.0, QColor(30, 120, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QBrush(glow) : QBrush(QColor(36, 60, 42)));
        p.drawEllipse(lamp);
    }
    if (hasBluetooth(modelType)) {
        // The rune of the short-range radio, drawn as strokes.
        QPainterPath rune;
        const QPointF o(1060, 155);
        rune.moveTo(o + QPointF(-3, 3));
        rune.lineTo(o + QPointF(3, 9));
        rune.lineTo(o + QPointF(0, 12));
        rune.lineTo(o + QPointF(0, 0));
        rune.lineTo(o + QPointF(3, 3));
        rune.lineTo(o + QPointF(-3, 9));
        p.setPen(QPen(QColor(120, 170, 255), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(rune);
    }
    p.setFont(skinFont(10, true));
    p.setPen(QColor(90, 94, 100));
    p.drawText(QRectF(190, 506, 200, 18), Qt::AlignLeft | Qt::AlignVCenter,
               modelType == 0 ? QStringLiteral("ZARN") : ModelName(modelType).toUpper());
}

void drawLegendSwatches(SkinPainter& skin, const SkinTable& table) {
    QPainter& p = skin.painter();
    for (const LegendSwatch& swatch : kLegend) {
        const SkinItem* label = FindElement(table, swatch.labelId);
        if (label == nullptr) {
            continue;
        }
        const qreal cy = label->rect.top + label->rect.height() / 2.0;
        const QRectF box(label->rect.left - kSwatchGap - kSwatchWidth, cy - kSwatchHeight / 2.0, kSwatchWidth,
                         kSwatchHeight);
        p.setPen(QPen(QColor(6, 6, 8), 1));
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawRoundedRect(box.adjusted(-1, -1, 1, 1), 3, 3);
        // The exact marker colour, so the legend matches the bars on the keys.
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(kModeColours[static_cast<std::size_t>(swatch.keyMode)]));
        p.drawRoundedRect(box, 2, 2);
    }
}

} // namespace

QImage PaintMainWindow(ImageVariant variant, int modelType) {
    const SkinTable table = MainWindowElements(modelType);
    const Look look = LookOf(variant);
    const CapStyle caps = capStyleFor(modelType);

    SkinPainter skin(kWidth, kHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(24, 21, ModelName(modelType));
    drawCommandRow(skin, table, look);
    skin.plate(QRectF(1040, 84, 232, 50), 8);
    if (const SkinItem* layer = FindElement(table, kCmdLayer)) {
        drawLayerSwitch(skin, layer->rect, look);
    }

    skin.keyboardCase(kCase, caps);
    drawCaseDetails(skin, modelType);
    for (const SkinItem& item : table) {
        if (item.keyNumber > 0) {
            const int hue = static_cast<int>((item.rect.left - kCase.left()) * 300 / kCase.width());
            skin.keyCap(item.rect, QString::fromStdString(item.captions.at("en-US")), look, caps, hue);
        }
    }

    drawLegendSwatches(skin, table);
    const SkinRect& status = kMainStatusBoxRect;
    skin.insetField(QRectF(status.left - 1, status.top - 1, status.width() + 2, status.height() + 2));
    return skin.finish(kMainWindowColourKey);
}
