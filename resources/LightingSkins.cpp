#include "app/elements/BkLightElements.h"
#include "app/elements/MultiSelectElements.h"
#include "resources/SkinFonts.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>

#include <algorithm>

namespace {

// Both dialogs share one title band and one close mark, so they look alike.
constexpr int kTitleBottom = 44;
// Inside both dialogs' close hotspots, the size of every other close mark.
const SkinRect kCloseMark{1218, 14, 1238, 34};

// The caps fill their rectangles, so the colour frame the dialog draws
// around a key sits right at its edge; they glow in the rainbow of the RGB
// models.  A key picked in the multi-key dialog is lit white.
const CapStyle kCaps{QColor(255, 255, 255), true, 11, QColor(236, 238, 242), 0.5};

// Only the RGB models open the lighting dialogs; the images the other models
// share with ZarnRGB.BT are ZarnRGB.BT's.
int lightingModel(int modelType) {
    return modelType == 4 ? 4 : 1;
}

const SkinItem& keyOf(const SkinTable& table, int keyNumber) {
    return *std::find_if(table.begin(), table.end(),
                         [keyNumber](const SkinItem& item) { return item.keyNumber == keyNumber; });
}

QRectF keysExtent(const SkinTable& table) {
    int left = 100000, top = 100000, right = 0, bottom = 0;
    for (const SkinItem& item : table) {
        if (item.keyNumber > 0) {
            left = std::min(left, item.rect.left);
            top = std::min(top, item.rect.top);
            right = std::max(right, item.rect.right);
            bottom = std::max(bottom, item.rect.bottom);
        }
    }
    return QRectF(left, top, right - left, bottom - top);
}

QLinearGradient rainbowAcross(const QRectF& area, int alpha) {
    QLinearGradient rainbow(area.left(), 0, area.right(), 0);
    for (int i = 0; i <= 6; ++i) {
        QColor c = QColor::fromHsv(i * 50, 230, 255);
        c.setAlpha(alpha);
        rainbow.setColorAt(i / 6.0, c);
    }
    return rainbow;
}

// The band between the function row and the number row, where the keyboard
// has its light bar: a glass strip lit in the rainbow, the model's name at
// its left end and the three lock lamps at its right end.
void drawLightBar(SkinPainter& skin, const SkinTable& table, int modelType) {
    QPainter& p = skin.painter();
    const SkinItem& esc = keyOf(table, 1);
    const SkinItem& tilde = keyOf(table, 14);
    const SkinItem& backspace = keyOf(table, 27);
    const qreal gap = tilde.rect.top - esc.rect.bottom;
    const QRectF band(tilde.rect.left, esc.rect.bottom + gap * 0.22, backspace.rect.right - tilde.rect.left,
                      gap * 0.56);

    p.setPen(QPen(QColor(6, 6, 8), 1));
    p.setBrush(QColor(14, 15, 18));
    p.drawRoundedRect(band, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(band.left() + 6, band.bottom() + 0.5), QPointF(band.right() - 6, band.bottom() + 0.5));

    const QRectF name(band.left() + 12, band.top(), 150, band.height());
    const QRectF lamps(band.right() - 96, band.top(), 84, band.height());
    const QRectF guide(name.right() + 8, band.center().y() - 3, lamps.left() - name.right() - 20, 6);
    // The glow spreads over the glass; the light guide itself is bright.
    p.setPen(Qt::NoPen);
    p.setBrush(rainbowAcross(guide, 60));
    p.drawRoundedRect(guide.adjusted(-4, -7, 4, 7), 8, 8);
    p.setBrush(rainbowAcross(guide, 235));
    p.drawRoundedRect(guide, 3, 3);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(guide.adjusted(6, 2, -6, -3), 1, 1);

    QFont font = skinFont(12, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(font);
    p.setPen(QColor(150, 154, 162));
    p.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, ModelName(modelType).toUpper());

    for (int i = 0; i < 3; ++i) {
        skin.lockLamp(QPointF(lamps.left() + 14 + i * 28, lamps.center().y()), 4, 6, i == 1);
    }
}

void drawKeyboard(SkinPainter& skin, const SkinTable& table, Look keyLook, int modelType) {
    const QRectF keys = keysExtent(table);
    skin.keyboardCase(keys.adjusted(-14, -7, 14, 10), kCaps);
    drawLightBar(skin, table, modelType);
    for (const SkinItem& item : table) {
        if (item.keyNumber > 0) {
            const int hue = static_cast<int>((item.rect.left - keys.left()) * 300 / keys.width());
            skin.keyCap(item.rect, QString::fromStdString(item.captions.at("en-US")), keyLook, kCaps, hue);
        }
    }
}

void drawCommands(SkinPainter& skin, const SkinTable& table, int closeId, Look look) {
    for (const SkinItem& item : table) {
        if (item.id <= 0 || item.isLabel || item.keyNumber > 0) {
            continue;
        }
        if (item.id == closeId) {
            skin.glyphButton(kCloseMark, Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
}

} // namespace

QImage PaintBacklight(ImageVariant variant, int modelType) {
    const int model = lightingModel(modelType);
    const SkinTable table = BkLightElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kBkLightWidth, kBkLightHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(22, 9, ModelName(model));
    skin.plate(QRectF(214, 414, 690, 46), 8);
    // Keys show no hover of their own: their colour frame is the feedback.
    drawKeyboard(skin, table, Look::Normal, model);
    drawCommands(skin, table, kBlCmdClose, look);
    return skin.finish(kBkLightColourKey);
}

QImage PaintMultiSelect(ImageVariant variant, int modelType) {
    const int model = lightingModel(modelType);
    const SkinTable table = MultiSelectElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kMultiSelectWidth, kMultiSelectHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(22, 9, ModelName(model));
    // The hover image doubles as the look of a selected key.
    drawKeyboard(skin, table, variant == ImageVariant::Hover ? Look::Pressed : Look::Normal, model);
    drawCommands(skin, table, kMsCmdClose, look);
    return skin.finish(kMultiSelectColourKey);
}
