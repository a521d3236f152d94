#include "app/elements/VirtualKeyElements.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

namespace {

constexpr int kWidth = kVirtualKeyWidth;
constexpr int kHeight = kVirtualKeyHeight;
constexpr int kTitleBottom = 44;

const CapStyle kCaps{QColor(255, 170, 80), false, 10};
const QRectF kCase(18, 54, 898, 242);

} // namespace

QImage PaintVirtualKey(ImageVariant variant) {
    const SkinTable table = VirtualKeyElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kWidth, kHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(20, 9, QString());
    skin.keyboardCase(kCase, kCaps);
    for (const SkinItem& item : table) {
        if (item.id <= 0 || item.isLabel) {
            continue;
        }
        if (item.keyNumber > 0) {
            skin.keyCap(item.rect, QString::fromStdString(item.captions.at("en-US")), look, kCaps, 0);
        } else if (item.id == kVkCmdClose) {
            skin.glyphButton(item.rect, Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
    skin.insetField(toRectF(kVirtualKeyDisplayRect).adjusted(-2, -2, 2, 2));
    return skin.finish(kVirtualKeyColourKey);
}
