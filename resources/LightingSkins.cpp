#include "app/elements/BkLightElements.h"
#include "app/elements/MultiSelectElements.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <algorithm>

namespace {

constexpr int kTitleBottom = 46;

// Caps of the lighting dialogs glow white: the colour frames drawn around
// them at run time carry the colour.
const CapStyle kCaps{QColor(255, 255, 255), false, 11};

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

void drawKeyboard(SkinPainter& skin, const SkinTable& table, Look keyLook, int modelType) {
    const QRectF keys = keysExtent(table);
    skin.keyboardCase(keys.adjusted(-14, -7, 14, 10), {QColor(255, 255, 255), modelType != 0, 11});
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
            skin.glyphButton(item.rect, Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
}

} // namespace

QImage PaintBacklight(ImageVariant variant, int modelType) {
    const SkinTable table = BkLightElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kBkLightWidth, kBkLightHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(22, 10, modelType != 0 ? ModelName(modelType) : QString());
    skin.plate(QRectF(214, 414, 690, 46), 8);
    // Keys show no hover of their own: their colour frame is the feedback.
    drawKeyboard(skin, table, Look::Normal, modelType);
    drawCommands(skin, table, kBlCmdClose, look);
    return skin.finish(kBkLightColourKey);
}

QImage PaintMultiSelect(ImageVariant variant, int modelType) {
    const SkinTable table = MultiSelectElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kMultiSelectWidth, kMultiSelectHeight);
    skin.windowFrame(kTitleBottom - 2);
    skin.wordmark(22, 9, modelType != 0 ? ModelName(modelType) : QString());
    // The hover image doubles as the look of a selected key.
    drawKeyboard(skin, table, variant == ImageVariant::Hover ? Look::Pressed : Look::Normal, modelType);
    drawCommands(skin, table, kMsCmdClose, look);
    return skin.finish(kMultiSelectColourKey);
}
