#pragma once

#include "app/elements/ImageIds.h"
#include "app/elements/SkinItem.h"
#include "app/elements/SkinItemPainting.h"

#include <QImage>
#include <QResource>
#include <QString>

#include <gtest/gtest.h>

// The generated resource file, registered once for a suite; images by bitmap id.
class ZarnResImages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(QResource::registerResource(QStringLiteral(ZARN_RES_RCC))); }
    static void TearDownTestSuite() { QResource::unregisterResource(QStringLiteral(ZARN_RES_RCC)); }

    static QImage image(int id) {
        return QImage(QStringLiteral(":/ZarnRES/%1.png").arg(id)).convertToFormat(QImage::Format_RGB32);
    }
    static QImage image(ImageRole role, int modelType) { return image(AppImageId(role, modelType)); }
};

// Whether two images differ anywhere inside a rectangle.
inline bool differsIn(const QImage& a, const QImage& b, const SkinRect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return true;
            }
        }
    }
    return false;
}

// Mean grey level inside a rectangle.
inline double meanGrey(const QImage& img, const SkinRect& r) {
    double sum = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            sum += qGray(img.pixel(x, y));
        }
    }
    return sum / (r.width() * r.height());
}
