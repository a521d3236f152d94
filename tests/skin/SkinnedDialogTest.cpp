#include "skin/SkinnedDialog.h"
#include "tests/app/GuiHarness.h"

#include <QBitmap>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ColorRef kKey = Rgb24(255, 0, 0);

// A window of three hotspots and a label, enough to watch the framework.
class SampleWindow : public SkinnedDialog {
public:
    explicit SampleWindow(GuiContext& context, QImage background = {}, QImage hover = {})
        : SkinnedDialog(context, nullptr) {
        setUpSkin({{Hotspot(1, {15, 92, 110, 128}), Hotspot(2, {110, 92, 200, 128}),
                    Hotspot(3, {0, 0, 20, 20}), Label(4, "标签", "Label", {18, 101, 110, 130})},
                   std::move(background),
                   std::move(hover),
                   {},
                   kKey,
                   QSize(300, 200)});
    }

    std::vector<int> commands;
    std::vector<QRect> invalidated;

protected:
    void runCommand(int id) override { commands.push_back(id); }
    void invalidate(const QRect& area) override {
        invalidated.push_back(area);
        SkinnedDialog::invalidate(area);
    }
};

TEST(SkinnedDialog, ScalesHotspotsButNotLabels) {
    GuiHarness gui(3, 1.5f);
    gui.doc.scaleFactor = 1.5f;
    SampleWindow window(gui.context);
    EXPECT_EQ(window.element(1)->rect, (SkinRect{22, 138, 165, 192}));
    EXPECT_EQ(window.element(4)->rect, (SkinRect{18, 101, 110, 130}));
    EXPECT_EQ(window.size(), QSize(450, 300)); // the design size without a background image
}

TEST(SkinnedDialog, HoverInvalidatesOnlyTheElementsEnteredAndLeft) {
    GuiHarness gui;
    SampleWindow window(gui.context);
    window.show();
    MoveTo(window, QPoint(250, 150)); // background
    window.invalidated.clear();

    MoveTo(window, QPoint(50, 100));
    EXPECT_EQ(window.invalidated, (std::vector<QRect>{QRect(15, 92, 95, 36)}));
    EXPECT_TRUE(window.element(1)->hovered);

    window.invalidated.clear();
    MoveTo(window, QPoint(60, 110)); // within the same element
    EXPECT_TRUE(window.invalidated.empty());

    MoveTo(window, QPoint(150, 100)); // into the neighbour: both, once each
    EXPECT_EQ(window.invalidated, (std::vector<QRect>{QRect(15, 92, 95, 36), QRect(110, 92, 90, 36)}));
    EXPECT_FALSE(window.element(1)->hovered);
    EXPECT_TRUE(window.element(2)->hovered);
}

TEST(SkinnedDialog, ClicksRunTheHotspotUnderTheButtonOnly) {
    GuiHarness gui;
    SampleWindow window(gui.context);
    window.show();
    ClickAt(window, QPoint(5, 5));     // hotspot 3
    ClickAt(window, QPoint(250, 150)); // background
    ClickAt(window, QPoint(20, 129));  // the label, below every hotspot
    ClickAt(window, QPoint(109, 100)); // last pixel of hotspot 1
    ClickAt(window, QPoint(110, 100)); // first pixel of hotspot 2
    EXPECT_EQ(window.commands, (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(window.commandAt(QPoint(20, 129)), -1);
}

TEST(SkinnedDialog, CaptionsFollowTheLanguageAtPaintTime) {
    GuiHarness gui;
    SampleWindow window(gui.context);
    gui.doc.uiLanguage = "zh-CN";
    const QImage chinese = window.renderImage();
    gui.doc.uiLanguage = "en-US";
    const QImage english = window.renderImage();
    gui.doc.uiLanguage = "fr-FR"; // no caption in that language: nothing drawn
    const QImage none = window.renderImage();
    const QRect label(18, 101, 92, 29);
    EXPECT_NE(chinese.copy(label), english.copy(label));
    EXPECT_NE(none.copy(label), english.copy(label));
    QImage blank(label.size(), none.format());
    blank.fill(QColor(20, 20, 20)); // the dark fill of a window without its background image
    EXPECT_EQ(none.copy(label), blank);
}

TEST(SkinnedDialog, ColourKeyCutsTheWindowShape) {
    GuiHarness gui(3, 2.0f);
    gui.doc.scaleFactor = 2.0f;
    QImage background(300, 200, QImage::Format_RGB32);
    background.fill(QColor(40, 40, 40));
    QPainter(&background).fillRect(QRect(0, 0, 30, 200), QColor(255, 0, 0));
    SampleWindow window(gui.context, background);
    EXPECT_EQ(window.size(), QSize(600, 400));
    EXPECT_FALSE(window.mask().contains(QPoint(10, 10)));
    EXPECT_FALSE(window.mask().contains(QPoint(59, 399)));
    EXPECT_TRUE(window.mask().contains(QPoint(60, 10)));
    EXPECT_TRUE(window.mask().contains(QPoint(599, 399)));
}

QImage Filled(QColor colour) {
    QImage image(300, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

TEST(SkinnedDialog, HoverOverlayCopiesTheElementsImagePixels) {
    GuiHarness gui(3, 1.5f);
    gui.doc.scaleFactor = 1.5f;
    const QColor grey(40, 40, 40);
    const QColor green(0, 200, 0);
    SampleWindow window(gui.context, Filled(grey), Filled(green));
    window.show();
    MoveTo(window, QPoint(60, 150)); // hotspot 1: window (22, 138)-(165, 192), image (14, 92) 95 x 36
    const QImage image = window.renderImage();
    EXPECT_EQ(image.pixelColor(14, 92), green);
    EXPECT_EQ(image.pixelColor(108, 127), green);
    EXPECT_EQ(image.pixelColor(13, 92), grey);
    EXPECT_EQ(image.pixelColor(109, 100), grey);
    EXPECT_EQ(image.pixelColor(150, 100), grey) << "the neighbour is not hovered";
}

} // namespace
