#include "skin/OverlayImage.h"

#include "app/elements/WindowDescription.h"
#include "skin/AppResources.h"
#include "skin/ScaleFactor.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// An image whose every pixel differs from its neighbours, half of them not opaque.
QImage patterned(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = (x + y) % 2 == 0 ? 255 : 128;
            image.setPixel(x, y, qPremultiply(qRgba(x * 7 % 256, y * 13 % 256, (x * y) % 256, alpha)));
        }
    }
    return image;
}

QImage drawn(const QImage& under, const std::function<void(QPainter&)>& draw) {
    QImage canvas = under.copy();
    QPainter painter(&canvas);
    draw(painter);
    return canvas;
}

TEST(OverlayImage, DrawsWhatTheWholeImageWouldInsideTheKeptArea) {
    const QImage whole = patterned(QSize(60, 40));
    const QImage under = patterned(QSize(60, 40)).mirrored(true, true);
    // Overlapping areas: each pixel must still be drawn once, or the
    // half-transparent ones would be blended twice.
    const QRegion kept = QRegion(5, 5, 20, 10) + QRegion(15, 8, 20, 20) + QRegion(50, 30, 10, 10);
    const OverlayImage overlay(whole, kept);
    const QRect sources[] = {{5, 5, 20, 10}, {16, 9, 18, 18}, {50, 30, 10, 10}, {55, 35, 10, 10}};
    for (const QRect& source : sources) {
        const QImage expected =
            drawn(under, [&](QPainter& painter) { painter.drawImage(source.topLeft(), whole, source); });
        const QImage actual =
            drawn(under, [&](QPainter& painter) { overlay.draw(painter, source.topLeft(), source); });
        EXPECT_EQ(actual, expected) << source.x() << "," << source.y();
    }
    EXPECT_LT(overlay.bytes(), static_cast<std::size_t>(whole.sizeInBytes()) / 2);
    const QImage back = overlay.toImage();
    EXPECT_EQ(back.size(), whole.size());
    EXPECT_EQ(back.pixel(20, 20), whole.pixel(20, 20));
    EXPECT_EQ(back.pixel(0, 0), 0u); // nothing kept there
    EXPECT_EQ(OverlayImage(whole).toImage(), whole);
}

// A window copies from its overlays the rectangle of an element divided by
// ScaleFactor: whatever the scale, that rectangle lies inside what is kept.
TEST(OverlayImage, TheKeptAreaHoldsEveryElementsOverlayAtEveryScale) {
    const SkinWindow windows[] = {SkinWindow::Main,      SkinWindow::KeySettings, SkinWindow::FirmwareUpdate,
                                  SkinWindow::Backlight, SkinWindow::Progress,    SkinWindow::MultiKeyColour,
                                  SkinWindow::VirtualKey};
    const float scales[] = {1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f, 4.5f, 5.0f, 5.55f, 7.3f};
    for (const SkinWindow window : windows) {
        const WindowDescription& description = DescribeWindow(window);
        for (int model = 0; model <= 4; ++model) {
            const std::optional<QRegion> kept = OverlaidArea(description, model);
            ASSERT_TRUE(kept.has_value()) << static_cast<int>(window);
            for (const SkinItem& item : description.elements(model)) {
                if (item.isLabel != 0 || item.rect.left < 0) {
                    continue;
                }
                for (const float scale : scales) {
                    const int left = Scaled(item.rect.left, scale);
                    const int top = Scaled(item.rect.top, scale);
                    const QRect source(Unscaled(left, scale), Unscaled(top, scale),
                                       Unscaled(Scaled(item.rect.right, scale) - left, scale),
                                       Unscaled(Scaled(item.rect.bottom, scale) - top, scale));
                    EXPECT_TRUE((QRegion(source) - *kept).isEmpty())
                        << "window " << static_cast<int>(window) << " element " << item.id << " at " << scale;
                }
            }
        }
    }
}

} // namespace
