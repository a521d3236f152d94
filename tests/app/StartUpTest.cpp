#include "app/COrvoApp.h"
#include "app/StartOptions.h"
#include "app/elements/ImageIds.h"
#include "skin/ScaleFactor.h"
#include "skin/UserPrompts.h"

#include <gtest/gtest.h>

#include <ostream>

#include <vector>

namespace {

struct DetectionCase {
    const char* name;
    std::vector<int> answers; // what successive calls return; the last one repeats
    int model;
    int calls;
    int sleeps;
};

// Test names and failure messages show the case name, not raw bytes.
void PrintTo(const DetectionCase& c, std::ostream* os) {
    *os << c.name;
}

class DetectionTest : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(DetectionTest, RetriesUntilFoundOrTwelveCalls) {
    const DetectionCase& c = GetParam();
    int calls = 0;
    std::vector<int> sleeps;
    const int model = DetectModelWithRetries(
        [&] {
            const std::size_t i = static_cast<std::size_t>(calls++);
            return c.answers[std::min(i, c.answers.size() - 1)];
        },
        [&](int ms) { sleeps.push_back(ms); });
    EXPECT_EQ(model, c.model);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(sleeps, std::vector<int>(static_cast<std::size_t>(c.sleeps), 1000));
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, DetectionTest,
    ::testing::Values(DetectionCase{"FirstCall", {3}, 3, 1, 0}, DetectionCase{"Never", {0}, 0, 12, 11},
                      DetectionCase{"FourthCall", {0, 0, 0, 4}, 4, 4, 3},
                      DetectionCase{"TwelfthCall", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}, 2, 12, 11}),
    [](const auto& row) { return std::string(row.param.name); });

struct ScaleCase {
    int height;
    float scale;
};

TEST(ScaleFactor, FollowsTheScreenHeight) {
    const ScaleCase cases[] = {{768, 1.0f},  {1079, 1.0f}, {1080, 1.5f},
                               {1200, 1.5f}, {1440, 1.5f}, {1620, 1.5f},
                               {1621, 2.0f}, {2160, 2.0f}, {6000, 6000.0f / 1080.0f}};
    for (const ScaleCase& c : cases) {
        EXPECT_FLOAT_EQ(ComputeScaleFactor(c.height), c.scale) << "height " << c.height;
    }
}

TEST(ImageIds, ModelZeroTakesTheImagesOfModelOne) {
    for (const ImageRow& row : AppImageIds()) {
        EXPECT_EQ(AppImageId(row.role, 0), AppImageId(row.role, 1));
    }
    EXPECT_EQ(AppImageId(ImageRole::MainBackground, 3), 154);
    EXPECT_EQ(AppImageId(ImageRole::KeyPage6Background, 4), 152);
    EXPECT_EQ(AppImageId(ImageRole::BacklightHover, 4), 162);
}

struct OptionsCase {
    std::vector<std::string> arguments;
    const char* scaleVariable;
    bool simulate;
    std::string model;
    std::optional<float> scale;
    bool error;
};

TEST(StartOptions, CommandLineAndScaleVariable) {
    const OptionsCase cases[] = {
        {{}, nullptr, false, "", std::nullopt, false},
        {{"--simulate"}, nullptr, true, "", std::nullopt, false},
        {{"--simulate=Zarn"}, nullptr, true, "Zarn", std::nullopt, false},
        {{"--scale", "2"}, nullptr, false, "", 2.0f, false},
        {{"--scale=1.5"}, "3", false, "", 1.5f, false},
        {{}, "2.5", false, "", 2.5f, false},
        {{"--scale"}, nullptr, false, "", std::nullopt, true},
        {{"--scale", "big"}, nullptr, false, "", std::nullopt, true},
        {{"--scale", "0"}, nullptr, false, "", std::nullopt, true},
        {{}, "nan", false, "", std::nullopt, true},
        {{"--frobnicate"}, nullptr, false, "", std::nullopt, true},
    };
    for (const OptionsCase& c : cases) {
        const StartOptions options = ParseStartOptions(c.arguments, c.scaleVariable);
        const std::string where = c.arguments.empty() ? std::string("(none)") : c.arguments.front();
        EXPECT_EQ(!options.error.empty(), c.error) << where;
        if (c.error) {
            continue;
        }
        EXPECT_EQ(options.simulate, c.simulate) << where;
        EXPECT_EQ(options.simulatedModel, c.model) << where;
        EXPECT_EQ(options.scale, c.scale) << where;
    }
}

TEST(StartOptions, WithoutADisplayTheUserIsToldInsteadOfAnAbort) {
    EXPECT_NE(MissingDisplayText(nullptr, nullptr, nullptr).find("there is no display"), std::string::npos);
    EXPECT_NE(MissingDisplayText("", "", "").find("xvfb-run"), std::string::npos);
    EXPECT_EQ(MissingDisplayText(nullptr, ":0", nullptr), "");
    EXPECT_EQ(MissingDisplayText(nullptr, nullptr, "wayland-0"), "");
    EXPECT_EQ(MissingDisplayText("offscreen", nullptr, nullptr), "");
    // A Wayland session gets a native Wayland client, unless the user chose a plugin.
    EXPECT_EQ(PreferredQtPlatform(nullptr, "wayland-0"), "wayland;xcb");
    EXPECT_EQ(PreferredQtPlatform("xcb", "wayland-0"), "");
    EXPECT_EQ(PreferredQtPlatform(nullptr, nullptr), "");
    EXPECT_EQ(PreferredQtPlatform(nullptr, ""), "");
}

} // namespace

#include "model/ConfigDocument.h"
#include "skin/ScriptedPrompts.h"

#include <cstdlib>

namespace {

TEST(FileDialogFilter, ProgramNotationBecomesQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"pro(*.pro)|*.pro|All Files(*.*)|*.*||", "pro (*.pro);;All Files (*)"},
        {"bin(*.bin)|*.bin", "bin (*.bin)"},
        {"Pictures|*.png;*.bmp||", "Pictures (*.png *.bmp)"},
        {"", ""},
        {"dangling|", ""},
    };
    for (const auto& [program, qt] : cases) {
        EXPECT_EQ(QtFileFilter(QString::fromUtf8(program)), QString::fromUtf8(qt)) << program;
    }
}

TEST(StartUp, WithoutAKeyboardTellsTheUserAndEnds) {
    ::unsetenv("ZARN_VIRTUAL_HID");
    ConfigDocument doc;
    ScriptedPrompts prompts;
    COrvoApp program(doc, prompts, 1.0f);
    int calls = 0;
    int sleeps = 0;
    program.setDetector([&] {
        ++calls;
        return 0;
    });
    program.setSleeper([&](int) { ++sleeps; });
    EXPECT_EQ(program.run(), 1);
    EXPECT_EQ(calls, 12);
    EXPECT_EQ(sleeps, 11);
    EXPECT_EQ(doc.modelType, 0);
    EXPECT_EQ(doc.uiLanguage, "zh-CN");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Keyboard is not connected!")});
}

} // namespace

#include "skin/AppResources.h"

namespace {

TEST(AppResources, ImagesOfTheDetectedModelComeFromTheResourceFile) {
    const QString file = QStringLiteral(ZARN_BUILD_DIR "/app/ZarnRES.rcc");
    AppResources resources;
    if (resources.registerResourceFile({QStringLiteral("/nonexistent/ZarnRES.rcc"), file}) != file) {
        GTEST_SKIP() << "no ZarnRES.rcc in the build directory: " << file.toStdString();
    }
    resources.loadImages(3);
    // Nothing is decoded before a window asks, and then only that window's set.
    EXPECT_EQ(resources.decodedImageCount(), 0u);
    const QImage zarn = resources.image(ImageRole::MainBackground);
    ASSERT_FALSE(zarn.isNull());
    EXPECT_EQ(zarn.size(), QSize(1280, 670));
    EXPECT_EQ(resources.decodedImageCount(), 3u);
    EXPECT_FALSE(resources.image(SkinWindow::Progress, ImageVariant::Active).isNull());
    EXPECT_EQ(resources.decodedImageCount(), 6u);
    EXPECT_EQ(resources.image(ImageRole::ProgressActive),
              QImage(ResourceImagePath(141)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    resources.loadImages(1);
    const QImage rgbBt = resources.image(ImageRole::MainBackground);
    resources.loadImages(0);
    EXPECT_EQ(resources.image(ImageRole::MainBackground), rgbBt);
    EXPECT_NE(rgbBt, zarn);
    resources.releaseImages();
    EXPECT_TRUE(resources.image(ImageRole::MainBackground).isNull());
    resources.unregisterResourceFile();
}

TEST(AppResources, FontsAreIndexedByPixelHeight) {
    AppResources resources;
    EXPECT_EQ(resources.font(13).pixelSize(), 13);
    EXPECT_EQ(resources.font(49).pixelSize(), 49);
    EXPECT_EQ(resources.font(80).pixelSize(), 49);
    EXPECT_EQ(resources.darkBrush().color(), QColor(20, 20, 20));
}

} // namespace
