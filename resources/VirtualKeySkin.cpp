#include "app/elements/VirtualKeyElements.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QRadialGradient>

#include <algorithm>

namespace {

constexpr int kWidth = kVirtualKeyWidth;
constexpr int kHeight = kVirtualKeyHeight;
constexpr int kTitleBottom = 44;

// A picked key is lit in the accent colour with a dark legend, so the keys of
// a combo stand out at a glance from the one under the pointer.
const CapStyle kCaps{QColor(255, 170, 80), false, 10, QColor(255, 150, 40)};
const QRectF kCase(18, 54, 898, 242);

// The lock lamps sit over the keypad, where the keyboard has them.
void drawLockLamps(SkinPainter& skin, const SkinTable& table) {
    QPainter& p = skin.painter();
    const char* const kUnder[] = {"NumLock", "KP/", "KP*"};
    for (int i = 0; i < 3; ++i) {
        const auto key = std::find_if(table.begin(), table.end(), [&](const SkinItem& item) {
            return item.keyNumber > 0 && item.captions.at("en-US") == kUnder[i];
        });
        if (key == table.end()) {
            continue;
        }
        const QPointF at(key->rect.left + key->rect.width() / 2.0, 82);
        QRadialGradient glow(at, 5);
        glow.setColorAt(0.0, i == 0 ? QColor(210, 255, 220) : QColor(70, 90, 76));
        glow.setColorAt(1.0, i == 0 ? QColor(30, 150, 60) : QColor(28, 36, 30));
        p.setPen(QPen(QColor(4, 4, 6), 1));
        p.setBrush(glow);
        p.drawEllipse(at, 3.5, 3.5);
    }
}

} // namespace

QImage PaintVirtualKey(ImageVariant variant) {
    const SkinTable table = VirtualKeyElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kWidth, kHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(20, 9, QString());
    skin.keyboardCase(kCase, kCaps);
    drawLockLamps(skin, table);
    for (const SkinItem& item : table) {
        if (item.id <= 0 || item.isLabel) {
            continue;
        }
        if (item.keyNumber > 0) {
            skin.keyCap(item.rect, QString::fromStdString(item.captions.at("en-US")), look, kCaps, 0);
        } else if (item.id == kVkCmdClose) {
            // The close mark of every dialog is the same size.
            skin.glyphButton({item.rect.left + 1, item.rect.top + 1, item.rect.left + 21, item.rect.top + 21},
                             Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
    skin.insetField(toRectF(kVirtualKeyDisplayRect).adjusted(-2, -2, 2, 2));
    return skin.finish(kVirtualKeyColourKey);
}
