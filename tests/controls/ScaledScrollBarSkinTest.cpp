#include "controls/ScaledScrollBarSkin.h"
#include "tests/controls/SkinFixture.h"

#include <gtest/gtest.h>

namespace {

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

TEST(ScaledScrollBarSkin, CellsScaleAloneAndThumbEndsStayThreePixels) {
    const QImage scaled = ScaledScrollBarSkin(skinfixture::skin(), 30);
    ASSERT_EQ(scaled.size(), QSize(270, 90));
    // A plain cell is its colour to its very edges: nothing of the
    // neighbouring cells smears in.
    for (int row = 0; row < 3; ++row) {
        for (const QPoint corner : {QPoint(0, 0), QPoint(29, 0), QPoint(0, 29), QPoint(29, 29)}) {
            EXPECT_EQ(at(scaled, 30 + corner.x(), row * 30 + corner.y()), skinfixture::plain(1, row))
                << "row " << row << " corner " << corner.x() << "," << corner.y();
        }
    }
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        for (int k = 0; k < 3; ++k) {
            // Vertical thumb (column 2) runs along y, horizontal (column 6) along x.
            EXPECT_EQ(at(scaled, 60 + 15, row * 30 + k), skinfixture::thumb(row, k));
            EXPECT_EQ(at(scaled, 60 + 15, row * 30 + 27 + k), skinfixture::thumb(row, 12 + k));
            EXPECT_EQ(at(scaled, 180 + k, row * 30 + 15), skinfixture::thumb(row, k));
            EXPECT_EQ(at(scaled, 180 + 27 + k, row * 30 + 15), skinfixture::thumb(row, 12 + k));
        }
    }
}

TEST(ScaledScrollBarSkin, TheSameSizeIsACopyAndABadSkinGivesNothing) {
    const QImage skin = skinfixture::skin();
    EXPECT_EQ(ScaledScrollBarSkin(skin, 15), skin);
    EXPECT_TRUE(ScaledScrollBarSkin(QImage(), 30).isNull());
    EXPECT_TRUE(ScaledScrollBarSkin(QImage(135, 40, QImage::Format_RGB32), 30).isNull());
    EXPECT_TRUE(ScaledScrollBarSkin(skin, 0).isNull());
}

} // namespace
