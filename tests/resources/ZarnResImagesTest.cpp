#include "tests/resources/ZarnResImages.h"
#include "app/elements/BkLightElements.h"
#include "app/elements/FirmwareUpdateElements.h"
#include "app/elements/ImageIds.h"
#include "app/elements/KeySettingsElements.h"
#include "app/elements/MainWindowElements.h"
#include "app/elements/MultiSelectElements.h"
#include "app/elements/ProgressElements.h"
#include "app/elements/VirtualKeyElements.h"
#include "app/elements/WindowDescription.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kModels[] = {0, 1, 2, 3, 4};

// Everything the window draws or places: its elements and its controls.
std::vector<SkinRect> windowExtent(SkinWindow window, int modelType) {
    SkinTable table;
    std::vector<SkinRect> extra;
    switch (window) {
    case SkinWindow::Main:
        table = MainWindowElements(modelType);
        extra.push_back(kMainStatusBoxRect);
        break;
    case SkinWindow::KeySettings:
        table = KeySettingsElements();
        break;
    case SkinWindow::FirmwareUpdate:
        table = FirmwareUpdateElements();
        extra = {kFirmwareVersionEditRect, kFirmwarePathEditRect, kFirmwareBarArea};
        break;
    case SkinWindow::Progress:
        table = ProgressElements();
        extra.push_back({kBarLeft, kBarTop, kBarLeft + kBarFullWidth, kBarTop + kBarHeight});
        break;
    case SkinWindow::Backlight:
        table = BkLightElements();
        break;
    case SkinWindow::MultiKeyColour:
        table = MultiSelectElements();
        break;
    case SkinWindow::VirtualKey:
        table = VirtualKeyElements();
        extra.push_back(kVirtualKeyDisplayRect);
        break;
    case SkinWindow::ScrollBar:
        break;
    }
    const bool colourFrames = window == SkinWindow::Backlight || window == SkinWindow::MultiKeyColour;
    for (const SkinItem& item : table) {
        if (item.id <= 0) {
            continue;
        }
        SkinRect rect = item.rect;
        if (colourFrames && item.keyNumber > 0) {
            rect = {rect.left - kKeyColourFrameWidth, rect.top - kKeyColourFrameWidth,
                    rect.right + kKeyColourFrameWidth, rect.bottom + kKeyColourFrameWidth};
        }
        extra.push_back(rect);
    }
    return extra;
}

// The size a window takes when its background is missing: the images must
// agree with it, so the window looks the same either way.
QSize designSize(SkinWindow window) {
    const WindowDescription& description = DescribeWindow(window);
    return {description.width, description.height};
}

// Pixels of exactly the key reached from the four corners through pixels of
// exactly the key.
int floodFromCorners(const QImage& img, QRgb key) {
    const int w = img.width();
    const int h = img.height();
    std::vector<char> seen(static_cast<std::size_t>(w * h), 0);
    std::vector<std::pair<int, int>> stack = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    int count = 0;
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= w || y >= h) {
            continue;
        }
        char& mark = seen[static_cast<std::size_t>(y * w + x)];
        if (mark != 0 || (img.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF)) {
            continue;
        }
        mark = 1;
        ++count;
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    return count;
}

bool nearButNotKey(QRgb pixel, QRgb key) {
    if ((pixel & 0xFFFFFF) == (key & 0xFFFFFF)) {
        return false;
    }
    return std::abs(qRed(pixel) - qRed(key)) <= 8 && std::abs(qGreen(pixel) - qGreen(key)) <= 8 &&
           std::abs(qBlue(pixel) - qBlue(key)) <= 8;
}

// The background that fixes the size of the window an image belongs to.
int backgroundIdFor(const ImageRow& row, int modelType) {
    for (const ImageRow& candidate : AppImageIds()) {
        if (candidate.window == row.window && candidate.variant == ImageVariant::Background &&
            (row.window != SkinWindow::KeySettings || candidate.page == 1)) {
            return AppImageId(candidate.role, modelType);
        }
    }
    return 0;
}

} // namespace

TEST_F(ZarnResImages, EveryRoleHasAnImageForEveryModelAndTheIconIsThere) {
    for (const ImageRow& row : AppImageIds()) {
        for (int model : kModels) {
            const int id = AppImageId(row.role, model);
            SCOPED_TRACE(testing::Message() << "bitmap " << id << " model " << model);
            EXPECT_FALSE(image(id).isNull());
        }
    }
    EXPECT_EQ(QImage(QStringLiteral(":/ZarnRES/icon/128.png")).size(), QSize(128, 128));
}

TEST_F(ZarnResImages, EveryImageHasTheSizeOfItsWindowAndHoldsAllItsElements) {
    for (const ImageRow& row : AppImageIds()) {
        if (row.window == SkinWindow::ScrollBar) {
            continue;
        }
        for (int model : kModels) {
            const int id = AppImageId(row.role, model);
            SCOPED_TRACE(testing::Message() << "bitmap " << id << " model " << model);
            const QImage img = image(id);
            // Every page and variant is drawn at the window's size: the
            // overlays copy rectangles between them.
            EXPECT_EQ(img.size(), image(backgroundIdFor(row, model)).size());
            EXPECT_EQ(img.size(), designSize(row.window));
            for (const SkinRect& rect : windowExtent(row.window, model)) {
                EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= img.width() &&
                            rect.bottom <= img.height())
                    << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << " outside "
                    << img.width() << "x" << img.height();
            }
        }
    }
}

TEST_F(ZarnResImages, TheColourKeyIsExactlyTheTransparentCorners) {
    for (int id : AllAppImageIds()) {
        const auto row = std::find_if(AppImageIds().begin(), AppImageIds().end(), [id](const ImageRow& r) {
            return AppImageId(r.role, 1) == id || AppImageId(r.role, 2) == id ||
                   AppImageId(r.role, 3) == id || AppImageId(r.role, 4) == id;
        });
        ASSERT_NE(row, AppImageIds().end());
        SCOPED_TRACE(testing::Message() << "bitmap " << id);
        const QImage img = image(id);
        const QRgb key = ToQColor(DescribeWindow(row->window).colourKey).rgb();
        int keyPixels = 0;
        int nearPixels = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb pixel = img.pixel(x, y);
                keyPixels += (pixel & 0xFFFFFF) == (key & 0xFFFFFF) ? 1 : 0;
                nearPixels += nearButNotKey(pixel, key) ? 1 : 0;
            }
        }
        EXPECT_EQ(nearPixels, 0);
        EXPECT_EQ(floodFromCorners(img, key), keyPixels);
        if (row->window == SkinWindow::ScrollBar) {
            EXPECT_EQ(keyPixels, 0); // a child control has no transparent parts
        } else {
            // Rounded corners, not a missing frame.
            EXPECT_GT(keyPixels, 0);
            EXPECT_LT(keyPixels, img.width() * img.height() / 100);
        }
    }
}

TEST_F(ZarnResImages, ScrollBarSkinIsANineByThreeGridOfTheBarsThickness) {
    const QImage skin = image(AppImageId(ImageRole::ScrollBar, 1));
    EXPECT_EQ(skin.width() % 9, 0);
    EXPECT_EQ(skin.width() / 9, kLibraryScrollBarPage1.width);
    EXPECT_EQ(skin.height(), 3 * (skin.width() / 9));
}

TEST_F(ZarnResImages, ProgressBarsAreLitOnlyInTheirGroove) {
    const ImageRole pairs[][2] = {{ImageRole::ProgressBackground, ImageRole::ProgressActive},
                                  {ImageRole::FirmwareBackground, ImageRole::FirmwareActive}};
    for (const auto& pair : pairs) {
        const QImage background = image(AppImageId(pair[0], 1));
        const QImage active = image(AppImageId(pair[1], 1));
        SCOPED_TRACE(testing::Message() << "bitmap " << AppImageId(pair[1], 1));
        ASSERT_EQ(background.size(), active.size());
        const int y = kBarTop + kBarHeight / 2;
        for (int x = kBarLeft; x < kBarLeft + kBarFullWidth; x += 10) {
            EXPECT_GT(qGray(active.pixel(x, y)), qGray(background.pixel(x, y)) + 60) << "x " << x;
        }
        // A bar longer than the groove shows plain panel there.
        for (int x = kBarLeft + kBarFullWidth + 3; x < active.width(); ++x) {
            EXPECT_EQ(active.pixel(x, y), background.pixel(x, y)) << "x " << x;
        }
    }
}

TEST_F(ZarnResImages, LegendSwatchesBesideTheTypeLabelsShowTheMarkerColours) {
    struct Legend {
        int labelId;
        int keyMode;
    };
    const Legend legend[] = {{55, 2}, {56, 3}, {57, 4}, {58, 5}, {59, 6}, {60, 7}, {61, 8}};
    for (int model : kModels) {
        const QImage img = image(AppImageId(ImageRole::MainBackground, model));
        const SkinTable table = MainWindowElements(model);
        for (const Legend& entry : legend) {
            const auto label = std::find_if(table.begin(), table.end(),
                                            [&](const SkinItem& item) { return item.id == entry.labelId; });
            ASSERT_NE(label, table.end());
            const QPoint swatch(label->rect.left - 12, (label->rect.top + label->rect.bottom) / 2);
            EXPECT_EQ(img.pixel(swatch) & 0xFFFFFF,
                      ToQColor(kModeColours[static_cast<std::size_t>(entry.keyMode)]).rgb() & 0xFFFFFF)
                << "model " << model << " label " << entry.labelId;
        }
    }
}
