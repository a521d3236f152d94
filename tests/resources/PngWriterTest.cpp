// The generator's PNG writer: what it writes reads back pixel for pixel, in
// both colour types it chooses, whatever the row length.

#include "resources/PngWriter.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage pattern(QSize size, QImage::Format format, bool translucent) {
    QImage image(size, format);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = translucent ? (x * 37 + y * 11) % 256 : 255;
            image.setPixelColor(x, y, QColor((x * 53) % 256, (y * 29) % 256, (x + y) % 256, alpha));
        }
    }
    return image;
}

struct Case {
    const char* name;
    QSize size;
    QImage::Format format;
    bool translucent;
};

TEST(UnfilteredPng, ReadsBackAsWritten) {
    const Case cases[] = {
        {"opaque, odd row length", {7, 5}, QImage::Format_RGB32, false},
        {"opaque image held with alpha", {5, 3}, QImage::Format_ARGB32, false},
        {"translucent", {9, 4}, QImage::Format_ARGB32, true},
        {"one pixel", {1, 1}, QImage::Format_ARGB32, true},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage written = pattern(c.size, c.format, c.translucent);
        const QString path = dir.filePath(QStringLiteral("image.png"));
        ASSERT_TRUE(WriteUnfilteredPng(written, path));
        QImage read(path, "PNG");
        ASSERT_FALSE(read.isNull());
        EXPECT_EQ(read.hasAlphaChannel(), written.hasAlphaChannel());
        EXPECT_EQ(read.convertToFormat(QImage::Format_ARGB32),
                  written.convertToFormat(QImage::Format_ARGB32));
    }
}

TEST(UnfilteredPng, RefusesWhatItCannotWrite) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(WriteUnfilteredPng(QImage(), dir.filePath(QStringLiteral("null.png"))));
    EXPECT_FALSE(QDir(dir.path()).exists(QStringLiteral("null.png")));
    EXPECT_FALSE(WriteUnfilteredPng(pattern({2, 2}, QImage::Format_RGB32, false),
                                    dir.filePath(QStringLiteral("missing/folder/image.png"))));
}

} // namespace
