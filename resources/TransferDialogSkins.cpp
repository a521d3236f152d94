#include "app/elements/FirmwareUpdateElements.h"
#include "app/elements/ProgressElements.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>

namespace {

// The firmware update and progress dialogs share one frame and bar.
constexpr int kWidth = kProgressWidth;
constexpr int kHeight = kProgressHeight;
static_assert(kFirmwareWidth == kProgressWidth && kFirmwareHeight == kProgressHeight);
constexpr int kTitleBottom = 48;

const QRectF kBar(kBarLeft, kBarTop, kBarFullWidth, kBarHeight);

void drawBarGroove(SkinPainter& skin) {
    skin.insetField(kBar.adjusted(-2, -2, 2, 2));
    // Tick marks under the groove, every tenth of the way.
    QPainter& p = skin.painter();
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int i = 0; i <= 10; ++i) {
        const qreal x = kBar.left() + kBar.width() * i / 10.0;
        p.drawLine(QPointF(x + 0.5, kBar.bottom() + 4),
                   QPointF(x + 0.5, kBar.bottom() + (i % 5 == 0 ? 9 : 6)));
    }
}

// The lit bar: only the groove is filled, so a bar that grows past the
// groove's end copies plain panel and shows no further.
void drawBarFill(SkinPainter& skin) {
    QPainter& p = skin.painter();
    const QRectF fill = kBar.adjusted(0, 1, 0, -1);
    QLinearGradient glow(0, fill.top(), 0, fill.bottom());
    glow.setColorAt(0.0, QColor(255, 214, 140));
    glow.setColorAt(0.45, QColor(255, 140, 30));
    glow.setColorAt(1.0, QColor(190, 70, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(fill);
    // Diagonal stripes give the bar motion even when it stands still.
    p.save();
    p.setClipRect(fill);
    p.setPen(QPen(QColor(255, 255, 255, 34), 6));
    for (qreal x = fill.left() - 30; x < fill.right() + 30; x += 16) {
        p.drawLine(QPointF(x, fill.bottom()), QPointF(x + 14, fill.top()));
    }
    p.restore();
    p.fillRect(QRectF(fill.left(), fill.top(), fill.width(), 1), QColor(255, 240, 210, 170));
}

void drawButtons(SkinPainter& skin, const SkinTable& table, int closeId, Look look) {
    for (const SkinItem& item : table) {
        if (item.id <= 0 || item.isLabel) {
            continue;
        }
        if (item.id == closeId) {
            skin.glyphButton(item.rect, Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
}

void drawTransferFrame(SkinPainter& skin) {
    skin.windowFrame(kTitleBottom);
    skin.plate(QRectF(26, 60, 318, 128), 8);
}

} // namespace

QImage PaintFirmwareUpdate(ImageVariant variant) {
    const SkinTable table = FirmwareUpdateElements();
    const Look look = variant == ImageVariant::Hover ? Look::Hover : Look::Normal;
    SkinPainter skin(kWidth, kHeight);
    drawTransferFrame(skin);
    skin.insetField(toRectF(kFirmwareVersionEditRect).adjusted(-2, -2, 2, 2));
    skin.insetField(toRectF(kFirmwarePathEditRect).adjusted(-2, -2, 2, 2));
    drawBarGroove(skin);
    if (variant == ImageVariant::Active) {
        drawBarFill(skin);
    }
    drawButtons(skin, table, kFirmwareCmdClose, look);
    return skin.finish(kFirmwareColourKey);
}

QImage PaintProgress(ImageVariant variant) {
    const SkinTable table = ProgressElements();
    const Look look = variant == ImageVariant::Hover ? Look::Hover : Look::Normal;
    SkinPainter skin(kWidth, kHeight);
    drawTransferFrame(skin);
    drawBarGroove(skin);
    if (variant == ImageVariant::Active) {
        drawBarFill(skin);
    }
    drawButtons(skin, table, kProgressCmdClose, look);
    return skin.finish(kProgressColourKey);
}
