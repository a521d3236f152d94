#include "skin/SkinnedDialog.h"

#include "app/elements/KeySettingsElements.h"
#include "app/elements/WindowDescription.h"
#include "platform/KeyboardCapture.h"
#include "skin/AppResources.h"
#include "skin/ScaleFactor.h"
#include "tests/app/GuiHarness.h"

#include <QApplication>
#include <QBitmap>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace {

constexpr ColorRef kKey = Rgb24(255, 0, 0);

// A window of three hotspots and a label, enough to watch the framework.
class SampleWindow : public SkinnedDialog {
public:
    explicit SampleWindow(GuiContext& context, QImage background = {}, QImage hover = {},
                          QImage selected = {})
        : SkinnedDialog(context, nullptr) {
        setUpSkin({{Hotspot(1, {15, 92, 110, 128}), Hotspot(2, {110, 92, 200, 128}),
                    Hotspot(3, {0, 0, 20, 20}), Label(4, "标签", "Label", {18, 101, 110, 130})},
                   std::move(background),
                   std::move(hover),
                   std::move(selected),
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

const QColor kGrey(40, 40, 40);
const QColor kGreen(0, 200, 0);
const QColor kBlue(0, 0, 200);

TEST(SkinnedDialog, HoverOverlayCopiesTheElementsImagePixels) {
    GuiHarness gui(3, 1.5f);
    SampleWindow window(gui.context, Filled(kGrey), Filled(kGreen));
    window.show();
    MoveTo(window, QPoint(60, 150)); // hotspot 1: window (22, 138)-(165, 192), image (14, 92) 95 x 36
    const QImage image = window.renderImage();
    EXPECT_EQ(image.pixelColor(14, 92), kGreen);
    EXPECT_EQ(image.pixelColor(108, 127), kGreen);
    EXPECT_EQ(image.pixelColor(13, 92), kGrey);
    EXPECT_EQ(image.pixelColor(109, 100), kGrey);
    EXPECT_EQ(image.pixelColor(150, 100), kGrey) << "the neighbour is not hovered";
}

// A window as the dialogs are built: a paged rule for which elements take
// part, labels that count for clicks, a drop interval, and the callbacks.
// Ids 1..99 belong to the frame; 100 and up to page id / 100.
class PagedWindow : public SkinnedDialog {
public:
    struct Options {
        bool labelsHit = false;
        int dropIntervalMs = 0;
        bool doubleClickGesture = false;
    };

    PagedWindow(GuiContext& context, Options options, QImage background = {}, QImage hover = {},
                QImage selected = {})
        : SkinnedDialog(context, nullptr), gesture_(options.doubleClickGesture) {
        SkinItem row = Hotspot(102, {15, 140, 110, 160});
        row.scaledLabel = 1;
        row.captions = {{"en-US", "Row"}};
        setUpSkin({{Hotspot(1, {0, 0, 20, 20}), Label(5, "", "Over", {200, 92, 260, 128}),
                    Hotspot(6, {200, 92, 260, 128}), Hotspot(101, {15, 92, 110, 128}), row,
                    Hotspot(201, {15, 92, 110, 128}), Label(150, "", "Page one", {18, 101, 110, 130})},
                   std::move(background),
                   std::move(hover),
                   std::move(selected),
                   kKey,
                   QSize(300, 200)});
        setClickRules({options.labelsHit, options.dropIntervalMs});
        showPage(1);
    }

    using SkinnedDialog::installHook;
    using SkinnedDialog::keepEnterIn;
    using SkinnedDialog::mutableElement;
    using SkinnedDialog::setDialogKeys;
    using SkinnedDialog::showPage;

    std::vector<int> commands;
    std::vector<int> hovers; // ids the hover moved to, 0 for none
    std::vector<int> doubleClicks;
    std::vector<std::pair<int, QPoint>> rightClicks;
    std::vector<WPARAM> hookKeys;

protected:
    bool isActive(const SkinItem& item) const override {
        return item.id > 0 && (item.id < 100 || item.id / 100 == page());
    }
    void runCommand(int id) override { commands.push_back(id); }
    void hoverChanged(const SkinItem* hovered) override { hovers.push_back(hovered ? hovered->id : 0); }
    bool takesDoubleClicks() const override { return gesture_; }
    void doubleClicked(int id) override { doubleClicks.push_back(id); }
    void rightClicked(int id, QPoint screenPos) override { rightClicks.emplace_back(id, screenPos); }
    void userMessage(unsigned message, WPARAM wParam, LPARAM) override {
        if (message == UM_HOOK_KEY) {
            hookKeys.push_back(wParam);
        }
    }

private:
    bool gesture_;
};

TEST(SkinnedDialog, TheActiveRuleGovernsPaintHoverAndClicks) {
    GuiHarness gui;
    PagedWindow window(gui.context, {}, Filled(kGrey), Filled(kGreen));
    window.show();
    const QPoint shared(50, 100); // 101 on page 1, 201 on page 2
    MoveTo(window, shared);
    EXPECT_TRUE(window.element(101)->hovered);
    EXPECT_FALSE(window.element(201)->hovered);
    EXPECT_EQ(window.hotspotAt(shared)->id, 101);
    ClickAt(window, shared);

    window.showPage(2);
    EXPECT_FALSE(window.element(101)->hovered) << "a page switch takes the hover along";
    EXPECT_TRUE(window.element(201)->hovered);
    EXPECT_EQ(window.hovers, (std::vector<int>{101, 201}));
    ClickAt(window, shared);
    ClickAt(window, QPoint(50, 150)); // the row of page 1: inactive now, so background
    ClickAt(window, QPoint(5, 5));    // the frame is active on every page
    EXPECT_EQ(window.commands, (std::vector<int>{101, 201, 1}));

    window.mutableElement(201)->selected = 1;
    window.showPage(1);
    MoveTo(window, QPoint(250, 190));
    const QImage image = window.renderImage();
    EXPECT_EQ(image.pixelColor(50, 100), kGrey) << "an inactive selected element draws nothing";
    EXPECT_EQ(window.hovers.back(), 0);
}

struct ClickCase {
    const char* name;
    bool labelsHit;
    float scale;
    QPoint designPoint; // 1080-based
    int command;        // -1: none
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class ClickDispatch : public ::testing::TestWithParam<ClickCase> {};

// Hover and dragging see hotspots only; a click sees labels too where the
// window says so, in table order, and only where a hotspot makes the point
// part of the window at all.
TEST_P(ClickDispatch, TheElementClickedFollowsTheClickRules) {
    const ClickCase& c = GetParam();
    GuiHarness gui(3, c.scale);
    PagedWindow window(gui.context, {c.labelsHit});
    window.show();
    const QPoint point = At(window, c.designPoint.x(), c.designPoint.y());
    ClickAt(window, point);
    EXPECT_EQ(window.commands, c.command < 0 ? std::vector<int>{} : std::vector<int>{c.command});
}

INSTANTIATE_TEST_SUITE_P(
    SkinnedDialog, ClickDispatch,
    ::testing::Values(ClickCase{"LabelsAreBackgroundByDefault", false, 1.0f, {230, 110}, 6},
                      ClickCase{"AnEarlierLabelTakesTheClick", true, 1.0f, {230, 110}, 5},
                      ClickCase{"ALabelAloneIsBackground", true, 1.0f, {60, 129}, -1},
                      ClickCase{"ALabelCoveringAHotspotOfItsPage", true, 1.0f, {60, 110}, 101},
                      ClickCase{"LabelsAreHitWhereTheyAreDrawn", true, 2.0f, {230, 110}, 5},
                      ClickCase{"BackgroundRunsNothing", true, 1.0f, {280, 180}, -1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SkinnedDialog, ADoubleClickDropsTheWaitingClick) {
    GuiHarness gui;
    PagedWindow window(gui.context, {false, 200});
    window.show();
    const QPoint point(50, 100);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_TRUE(window.commands.empty()) << "the click waits for a double click";
    EXPECT_TRUE(window.clickPending());
    QTest::qWait(300);
    EXPECT_EQ(window.commands, std::vector<int>{101});

    window.commands.clear();
    DoubleClickAt(window, point); // the first click is dropped, the second comes up as a click
    EXPECT_EQ(window.commands, std::vector<int>{101});
    EXPECT_TRUE(window.doubleClicks.empty());
}

TEST(SkinnedDialog, ADoubleClickGestureTakesItsRelease) {
    GuiHarness gui;
    PagedWindow window(gui.context, {false, gui.context.clicks.virtualKeyDropMs, true});
    window.show();
    DoubleClickAt(window, QPoint(50, 100));
    EXPECT_EQ(window.doubleClicks, std::vector<int>{101});
    EXPECT_TRUE(window.commands.empty());

    // The button never comes up: the gesture ends after the wait all the same.
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(WaitUntil([&] { return window.doubleClicks.size() == 2; }, 2000));
    EXPECT_EQ(window.doubleClicks.back(), 1);
    EXPECT_TRUE(window.commands.empty());
}

TEST(SkinnedDialog, RightClicksNameTheElementAndTheScreenPoint) {
    GuiHarness gui;
    PagedWindow window(gui.context, {});
    window.show();
    RightClickAt(window, QPoint(50, 100));
    RightClickAt(window, QPoint(280, 180)); // background
    ASSERT_EQ(window.rightClicks.size(), 1u);
    EXPECT_EQ(window.rightClicks.front().first, 101);
    EXPECT_EQ(window.rightClicks.front().second, window.mapToGlobal(QPoint(50, 100)));
    EXPECT_TRUE(window.commands.empty());
}

TEST(SkinnedDialog, LeavingTheWindowEndsTheHover) {
    GuiHarness gui;
    PagedWindow window(gui.context, {});
    window.show();
    MoveTo(window, QPoint(50, 100));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&window, &leave);
    EXPECT_FALSE(window.element(101)->hovered);
    EXPECT_EQ(window.hovers, (std::vector<int>{101, 0}));
}

TEST(SkinnedDialog, DefaultPaintingHonoursSelectedAndShown) {
    GuiHarness gui;
    gui.doc.uiLanguage = "en-US";
    PagedWindow window(gui.context, {}, Filled(kGrey), Filled(kGreen), Filled(kBlue));
    window.show();
    MoveTo(window, QPoint(50, 100));
    EXPECT_EQ(window.renderImage().pixelColor(20, 95), kGreen) << "hover";
    window.mutableElement(101)->selected = 1;
    EXPECT_EQ(window.renderImage().pixelColor(20, 95), kBlue) << "selected wins over hover";

    const QRect label(18, 101, 92, 29);
    const QImage withLabel = window.renderImage();
    window.mutableElement(150)->shown = 0;
    window.mutableElement(101)->shown = 0;
    const QImage hidden = window.renderImage();
    EXPECT_NE(withLabel.copy(label), hidden.copy(label));
    EXPECT_EQ(hidden.copy(label), Filled(kGrey).copy(label)) << "hidden elements draw nothing";
    EXPECT_EQ(window.hotspotAt(QPoint(50, 100))->id, 101) << "hiding does not change what is hit";

    window.mutableElement(102)->selected = 1; // a row: its overlay, then its caption on top
    const QImage row = window.renderImage();
    EXPECT_EQ(row.pixelColor(108, 158), kBlue);
    EXPECT_NE(row.copy(QRect(15, 140, 95, 20)), Filled(kBlue).copy(QRect(15, 140, 95, 20)));
}

// The first row of pixels of a caption drawn in a tall box with the given format.
int FirstInkRow(GuiContext& context, int textFormat) {
    class Box : public SkinnedDialog {
    public:
        Box(GuiContext& c, int format) : SkinnedDialog(c, nullptr) {
            setUpSkin({{Label(1, "X", "X", {0, 0, 300, 200}, format)}, {}, {}, {}, kKey, QSize(300, 200)});
        }

    protected:
        void runCommand(int) override {}
    } box(context, textFormat);
    const QImage image = box.renderImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != QColor(20, 20, 20)) {
                return y;
            }
        }
    }
    return -1;
}

TEST(SkinnedDialog, TheVerticalCentreFlagCentresACaption) {
    GuiHarness gui;
    gui.doc.uiLanguage = "en-US";
    const int top = FirstInkRow(gui.context, kTextLeft);
    const int centred = FirstInkRow(gui.context, kTextLeft | kTextVCentre);
    EXPECT_LT(top, 10);
    EXPECT_GT(centred, 80);
    EXPECT_LT(centred, 110);
}

enum class Ending { Done, EscapeKey, CloseEvent, Destroyed };

// A capture must never outlive its dialog, however the dialog goes.
TEST(SkinnedDialog, TheHookIsReleasedHoweverTheDialogEnds) {
    for (Ending ending : {Ending::Done, Ending::EscapeKey, Ending::CloseEvent, Ending::Destroyed}) {
        GuiHarness gui;
        auto window = std::make_unique<PagedWindow>(gui.context, PagedWindow::Options{});
        window->show();
        window->installHook();
        ASSERT_TRUE(gui.hook.installed());
        gui.hook.type(WM_KEYDOWN, 0x41);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->hookKeys, std::vector<WPARAM>{0x41});
        switch (ending) {
        case Ending::Done:
            window->done(QDialog::Accepted);
            break;
        case Ending::EscapeKey:
            QTest::keyClick(window.get(), Qt::Key_Escape);
            break;
        case Ending::CloseEvent:
            window->close();
            break;
        case Ending::Destroyed:
            window.reset();
            break;
        }
        const int how = static_cast<int>(ending);
        EXPECT_FALSE(gui.hook.installed()) << "ending " << how;
        EXPECT_EQ(gui.hook.uninstalls(), 1) << "ending " << how;
        window.reset();
        EXPECT_EQ(gui.hook.uninstalls(), 1) << "released once, ending " << how;
    }
}

TEST(SkinnedDialog, EnterAndEscapeDoWhatTheWindowSays) {
    GuiHarness gui;
    PagedWindow window(gui.context, {});
    auto* edit = new QLineEdit(&window);
    window.keepEnterIn(edit);
    window.setDialogKeys(PagedWindow::DialogKey::runs(6), PagedWindow::DialogKey::ends(7));
    window.show();
    window.setFocus();
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_EQ(window.commands, (std::vector<int>{6, 6}));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window.commands.size(), 2u) << "Enter stays with the edit";
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(window.result(), 7);
    EXPECT_FALSE(window.isVisible());

    PagedWindow quiet(gui.context, {});
    quiet.setDialogKeys(PagedWindow::DialogKey::nothing(), PagedWindow::DialogKey::nothing());
    quiet.show();
    QTest::keyClick(&quiet, Qt::Key_Escape);
    QTest::keyClick(&quiet, Qt::Key_Return);
    EXPECT_TRUE(quiet.isVisible());
    EXPECT_TRUE(quiet.commands.empty());
}

// The helpers every dialog uses, through a window that exposes them.
class HelperWindow : public SampleWindow {
public:
    using SampleWindow::SampleWindow;
    using SkinnedDialog::byLanguage;
    using SkinnedDialog::modelCaption;
    using SkinnedDialog::place;
    using SkinnedDialog::runDeviceOperation;
    using SkinnedDialog::styleEdit;
};

TEST(SkinnedDialog, HelpersPlaceStyleAndWordControls) {
    GuiHarness gui(2, 1.5f);
    HelperWindow window(gui.context);
    QLineEdit edit(&window);
    window.place(&edit, ControlPlace{485, 112, 36, 18});
    EXPECT_EQ(edit.geometry(), QRect(727, 168, 54, 27)) << "x, y, width, height each scaled";
    window.place(&edit, SkinRect{27, 568, 1250, 650});
    EXPECT_EQ(edit.geometry(), QRect(40, 852, 1835, 123)) << "each corner scaled";
    window.styleEdit(&edit, 13);
    EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(255, 111, 0));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(20, 20, 20));
    EXPECT_EQ(edit.font().pixelSize(), 19);

    gui.doc.uiLanguage = "en-US";
    EXPECT_EQ(window.byLanguage("确定", "OK"), QStringLiteral("OK"));
    gui.doc.uiLanguage = "zh-CN";
    EXPECT_EQ(window.byLanguage("确定", "OK"), QStringLiteral("确定"));
    gui.doc.uiLanguage = "de-DE";
    EXPECT_TRUE(window.byLanguage("确定", "OK").isEmpty());
    EXPECT_EQ(window.modelCaption(), QStringLiteral("ZarnBT"));
}

TEST(SkinnedDialog, ADeviceOperationSaysHowItEnded) {
    GuiHarness gui(4);
    HelperWindow window(gui.context);
    std::vector<int> codes;
    ProgressOutcome next = ProgressOutcome::Finished;
    gui.context.dialogs.deviceOperation = [&](QWidget* parent, int code) {
        EXPECT_EQ(parent, &window);
        codes.push_back(code);
        return next;
    };
    const OperationMessages messages{{QStringLiteral("OK!"), PromptIcon::Exclamation},
                                     {QStringLiteral("Failed!"), PromptIcon::Warning},
                                     {}};
    for (ProgressOutcome outcome :
         {ProgressOutcome::Finished, ProgressOutcome::Failed, ProgressOutcome::Cancelled}) {
        next = outcome;
        EXPECT_EQ(window.runDeviceOperation(6, messages), outcome);
    }
    EXPECT_EQ(codes, (std::vector<int>{6, 6, 6}));
    EXPECT_EQ(gui.prompts.texts(), (QStringList{QStringLiteral("OK!"), QStringLiteral("Failed!")}));
    EXPECT_EQ(gui.prompts.shown().front().caption, QStringLiteral("ZarnRGB"));
    EXPECT_EQ(gui.prompts.shown().back().icon, PromptIcon::Warning);

    gui.context.dialogs.deviceOperation = nullptr; // nothing can run: that is no success
    gui.prompts.clear();
    EXPECT_EQ(window.runDeviceOperation(4, messages), ProgressOutcome::Failed);
    EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("Failed!")});
}

// A window set up from its description: its table at full size, the first
// page's images, and another page's images after a page switch.
class DescribedWindow : public SkinnedDialog {
public:
    explicit DescribedWindow(GuiContext& context) : SkinnedDialog(context, nullptr) {
        setUpSkin(SkinWindow::KeySettings);
    }
    using SkinnedDialog::showPage;

protected:
    void runCommand(int) override {}
};

TEST(SkinnedDialog, ADescribedWindowTakesItsTableAndItsPagesImages) {
    GuiHarness gui(3, 1.5f);
    ASSERT_TRUE(gui.loadSkins());
    gui.doc.uiLanguage = "fr-FR"; // no captions: the page's own pixels show
    DescribedWindow window(gui.context);
    EXPECT_EQ(static_cast<int>(window.elements().size()), kKeySettingsSlots);
    EXPECT_EQ(window.page(), 1);
    EXPECT_EQ(window.size(), QSize(Scaled(kKeySettingsWidth, 1.5f), Scaled(kKeySettingsHeight, 1.5f)));
    const QImage& page3 = gui.resources.image(SkinWindow::KeySettings, ImageVariant::Background, 3);
    ASSERT_FALSE(page3.isNull());
    const QPoint inside(300, 200);
    const QImage first = window.renderImage();
    window.showPage(3);
    const QImage third = window.renderImage();
    EXPECT_EQ(window.page(), 3);
    EXPECT_EQ(third.pixelColor(inside), page3.pixelColor(inside));
    EXPECT_NE(first.copy(QRect(20, 90, 540, 220)), third.copy(QRect(20, 90, 540, 220)));
}

} // namespace
