#include "lighting/COrvoDialogBkLightSettings.h"

#include "app/elements/BkLightElements.h"
#include "app/elements/MultiSelectElements.h"
#include "lighting/COrvoDialogBkLightMultiSelect.h"
#include "lighting/KeyColourFrame.h"
#include "tests/app/GuiHarness.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kKeyA = 43;

int keyId(int keyNumber) {
    return 99 + keyNumber;
}

// Every key its own colour, entry 0 too, so that a copy that misses or
// shifts an entry shows.
KeyColours distinctColours() {
    KeyColours colours{};
    for (int k = 0; k <= kKeyCount; ++k) {
        colours[static_cast<std::size_t>(k)] = {k, 2 * k, 255 - k};
    }
    return colours;
}

// The dialog with the areas it asks to repaint in view.
class WatchedBkLight : public COrvoDialogBkLightSettings {
public:
    using COrvoDialogBkLightSettings::COrvoDialogBkLightSettings;

    bool repaintedWhole() const {
        for (const QRect& area : invalidated) {
            if (area == rect()) {
                return true;
            }
        }
        return false;
    }
    std::vector<QRect> invalidated;

protected:
    void invalidate(const QRect& area) override {
        invalidated.push_back(area);
        COrvoDialogBkLightSettings::invalidate(area);
    }
};

struct BkLightFixture {
    explicit BkLightFixture(float scale = 1.0f) : gui(1, scale) {
        gui.doc.keyColours = distinctColours();
        dialog = std::make_unique<WatchedBkLight>(gui.context);
        dialog->show();
    }
    GuiHarness gui;
    std::unique_ptr<WatchedBkLight> dialog;
};

TEST(BkLightSettings, KeyClickChoosesFromTheKeysColourAndRepaintsOnlyOnAChange) {
    BkLightFixture f;
    const KeyColours before = f.gui.doc.keyColours;
    f.gui.prompts.nextColour(QColor(kKeyA, 2 * kKeyA, 255 - kKeyA)); // the colour it has
    ClickOn(*f.dialog, keyId(kKeyA));
    ASSERT_EQ(f.gui.prompts.coloursAsked().size(), 1u);
    EXPECT_EQ(f.gui.prompts.coloursAsked().back(), QColor(kKeyA, 2 * kKeyA, 255 - kKeyA));
    EXPECT_FALSE(f.dialog->repaintedWhole());
    EXPECT_EQ(f.dialog->workingColours(), before);

    f.gui.prompts.nextColour(std::nullopt); // cancelled
    ClickOn(*f.dialog, keyId(kKeyA));
    EXPECT_FALSE(f.dialog->repaintedWhole());
    EXPECT_EQ(f.dialog->workingColours(), before);

    f.gui.prompts.nextColour(QColor(1, 2, 3));
    ClickOn(*f.dialog, keyId(kKeyA));
    EXPECT_TRUE(f.dialog->repaintedWhole());
    KeyColours expected = before;
    expected[kKeyA] = {1, 2, 3};
    EXPECT_EQ(f.dialog->workingColours(), expected);
    EXPECT_EQ(f.gui.doc.keyColours, before) << "only the working copy changes";
}

TEST(BkLightSettings, ChooserStartsFromTheLowBytesOfAStoredColour) {
    GuiHarness gui(1);
    gui.doc.keyColours[kKeyA] = {0x1FF, -1, 0x102}; // a profile may hold any 32-bit value
    COrvoDialogBkLightSettings dialog(gui.context);
    dialog.show();
    gui.prompts.nextColour(QColor(255, 255, 2)); // the colour shown: nothing changes
    ClickOn(dialog, keyId(kKeyA));
    EXPECT_EQ(gui.prompts.coloursAsked().back(), QColor(255, 255, 2));
    EXPECT_EQ(dialog.workingColours()[kKeyA], (Rgb{0x1FF, -1, 0x102}));
}

TEST(BkLightSettings, SetAllAndDefaultCoverAll104Entries) {
    BkLightFixture f;
    const KeyColours before = f.gui.doc.keyColours;
    ClickOn(*f.dialog, kBlCmdSetAll); // chooser cancelled
    EXPECT_EQ(f.gui.prompts.coloursAsked().back(), QColor(0, 0, 0));
    EXPECT_EQ(f.dialog->workingColours(), before);

    f.gui.prompts.nextColour(QColor(10, 20, 30));
    ClickOn(*f.dialog, kBlCmdSetAll);
    KeyColours all{};
    all.fill({10, 20, 30});
    EXPECT_EQ(f.dialog->workingColours(), all);

    f.gui.prompts.nextColour(QColor(0, 0, 0)); // black is applied too
    ClickOn(*f.dialog, kBlCmdSetAll);
    const KeyColours black{};
    EXPECT_EQ(f.dialog->workingColours(), black);

    f.gui.prompts.nextColour(QColor(10, 20, 30));
    ClickOn(*f.dialog, kBlCmdSetAll);
    ClickOn(*f.dialog, kBlCmdDefault);
    EXPECT_EQ(f.dialog->workingColours(), black) << "Default is Set All with black";
    EXPECT_EQ(f.gui.doc.keyColours, before);
}

struct EndCase {
    DialogEnding ending;
    bool keepsEdits;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    PrintTo(c.ending, os);
}

class BkLightEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(BkLightEndTest, DefaultThenEnding) {
    const EndCase& c = GetParam();
    BkLightFixture f;
    const KeyColours before = f.gui.doc.keyColours;
    ClickOn(*f.dialog, kBlCmdDefault);
    EndDialog(*f.dialog, *f.dialog, c.ending);
    EXPECT_FALSE(f.dialog->isVisible());
    EXPECT_EQ(f.dialog->result(), c.ending.result);
    EXPECT_EQ(f.gui.doc.keyColours, c.keepsEdits ? KeyColours{} : before);
    EXPECT_TRUE(f.gui.prompts.texts().isEmpty()) << "nothing was sent";
}

INSTANTIATE_TEST_SUITE_P(BkLightSettings, BkLightEndTest,
                         ::testing::Values(EndCase{{"Ok", kBlCmdOk, 0, QDialog::Accepted}, true},
                                           EndCase{{"Cancel", kBlCmdCancel, 0, QDialog::Rejected}, false},
                                           EndCase{{"CloseMark", kBlCmdClose, 0, QDialog::Rejected}, false},
                                           EndCase{{"Escape", 0, Qt::Key_Escape, QDialog::Rejected}, false},
                                           // Enter is the OK button's: it keeps the edits.
                                           EndCase{{"Enter", 0, Qt::Key_Return, QDialog::Accepted}, true}),
                         [](const auto& row) { return std::string(row.param.ending.name); });

TEST(BkLightSettings, MultiKeyHandsOverTheWorkingCopyAndAppliesThePick) {
    BkLightFixture f;
    ConfigDocument& doc = f.gui.doc;
    doc.lightSelected.fill(1); // left over from elsewhere: the dialog clears them
    f.gui.prompts.nextColour(QColor(7, 8, 9));
    ClickOn(*f.dialog, keyId(1));
    KeyColours working = f.dialog->workingColours();
    working[1] = {7, 8, 9};
    ASSERT_EQ(f.dialog->workingColours(), working);

    WhenModal(nullptr, [&](QWidget* modal) {
        auto* multi = static_cast<COrvoDialogBkLightMultiSelect*>(modal);
        EXPECT_EQ(doc.lightWorkColours, working) << "the multi-key dialog shows the working copy";
        EXPECT_EQ(std::count(doc.lightSelected.begin(), doc.lightSelected.end(), 1), 0);
        ClickOn(*multi, keyId(2));
        ClickOn(*multi, keyId(103));
        f.gui.prompts.nextColour(QColor(200, 100, 50));
        ClickOn(*multi, kMsCmdSetColour);
    });
    ClickOn(*f.dialog, kBlCmdMultiKey);
    working[2] = working[103] = {200, 100, 50};
    EXPECT_EQ(f.dialog->workingColours(), working);
    EXPECT_TRUE(f.dialog->repaintedWhole());

    // Nothing selected, then a colour: nothing changes.
    WhenModal(nullptr, [&](QWidget* modal) {
        f.gui.prompts.nextColour(QColor(1, 1, 1));
        ClickOn(*static_cast<COrvoDialogBkLightMultiSelect*>(modal), kMsCmdSetColour);
    });
    ClickOn(*f.dialog, kBlCmdMultiKey);
    EXPECT_EQ(f.dialog->workingColours(), working);

    // Keys selected, then cancelled: nothing changes either.
    WhenModal(nullptr, [&](QWidget* modal) {
        auto* multi = static_cast<COrvoDialogBkLightMultiSelect*>(modal);
        ClickOn(*multi, keyId(5));
        ClickOn(*multi, kMsCmdClose);
    });
    ClickOn(*f.dialog, kBlCmdMultiKey);
    EXPECT_EQ(f.dialog->workingColours(), working);
    EXPECT_EQ(doc.keyColours, distinctColours());
}

struct FrameCase {
    float scale;
    SkinRect key; // 1080-based
    QRect left, right, top, bottom;
};

TEST(KeyColourFrame, BarsTruncateEachCornerAtEveryScale) {
    const FrameCase cases[] = {
        {1.0f, {172, 56, 216, 101}, {170, 54, 2, 49}, {216, 54, 2, 49}, {172, 54, 44, 2}, {172, 101, 44, 2}},
        // 101 x 1.5 = 151 (truncated), back 100.67: the bottom bar starts at 100, ends at 102.
        {1.5f, {172, 56, 216, 101}, {170, 54, 2, 48}, {216, 54, 2, 48}, {172, 54, 44, 2}, {172, 100, 44, 2}},
        // 535 x 1.5 = 802, back 534.67: the right bar runs from 534 to 536.
        {1.5f,
         {494, 150, 535, 194},
         {492, 148, 2, 48},
         {534, 148, 2, 48},
         {494, 148, 40, 2},
         {494, 194, 40, 2}},
        {2.0f,
         {1038, 293, 1080, 383},
         {1036, 291, 2, 94},
         {1080, 291, 2, 94},
         {1038, 291, 42, 2},
         {1038, 383, 42, 2}},
    };
    for (const FrameCase& c : cases) {
        const SkinRect window{static_cast<int>(c.key.left * c.scale), static_cast<int>(c.key.top * c.scale),
                              static_cast<int>(c.key.right * c.scale),
                              static_cast<int>(c.key.bottom * c.scale)};
        const auto bars = KeyFrameBars(window, c.scale);
        EXPECT_EQ(bars[0], c.left) << c.scale << " " << c.key.left;
        EXPECT_EQ(bars[1], c.right) << c.scale << " " << c.key.left;
        EXPECT_EQ(bars[2], c.top) << c.scale << " " << c.key.left;
        EXPECT_EQ(bars[3], c.bottom) << c.scale << " " << c.key.left;
    }
}

TEST(BkLightSettings, EveryKeyIsFramedInItsColour) {
    for (float scale : {1.0f, 1.5f}) {
        GuiHarness gui(1, scale);
        ASSERT_TRUE(gui.loadSkins());
        gui.doc.keyColours = distinctColours();
        gui.doc.keyColours[kKeyA] = {0x1FF, 0x100, 0x180}; // low bytes (255, 0, 128)
        COrvoDialogBkLightSettings dialog(gui.context);
        dialog.show();
        const QImage image = dialog.renderImage();
        // A: 262, 245, 304, 288.
        for (const QPoint p :
             {QPoint(260, 250), QPoint(261, 289), QPoint(304, 260), QPoint(280, 243), QPoint(280, 289)}) {
            EXPECT_EQ(image.pixelColor(p), QColor(255, 0, 128)) << scale << " at " << p.x() << "," << p.y();
        }
        EXPECT_NE(image.pixelColor(259, 250), QColor(255, 0, 128));
        for (int k = 1; k <= kKeyCount; ++k) {
            if (k == kKeyA) {
                continue;
            }
            const SkinRect& r = dialog.element(keyId(k))->rect;
            const QPoint leftBar(static_cast<int>(r.left / scale) - 1, static_cast<int>(r.top / scale) + 3);
            EXPECT_EQ(image.pixelColor(leftBar), QColor(k, 2 * k, 255 - k)) << "key " << k;
        }
    }
}

TEST(BkLightSettings, ButtonsTakeHover) {
    GuiHarness gui(1);
    ASSERT_TRUE(gui.loadSkins());
    COrvoDialogBkLightSettings dialog(gui.context);
    dialog.show();
    const QImage& background = gui.resources.image(ImageRole::BacklightBackground);
    const QImage& hover = gui.resources.image(ImageRole::BacklightHover);
    const QPoint inRead(530, 424); // above its label
    ASSERT_NE(background.pixel(inRead), hover.pixel(inRead));
    EXPECT_EQ(dialog.renderImage().pixel(inRead), background.pixel(inRead));
    MoveTo(dialog, inRead);
    EXPECT_EQ(dialog.renderImage().pixel(inRead), hover.pixel(inRead));
}

TEST(BkLightSettings, LabelsKeepTheirRectanglesAndAreNeverHit) {
    for (float scale : {1.0f, 1.5f}) {
        BkLightFixture f(scale);
        const SkinItem* readLabel = nullptr;
        for (const SkinItem& item : f.dialog->elements()) {
            if (item.isLabel != 0 && item.id == kBlCmdRead) {
                readLabel = &item;
            }
        }
        ASSERT_NE(readLabel, nullptr);
        EXPECT_EQ(readLabel->rect, (SkinRect{521, 428, 603, 454}));
        EXPECT_EQ(f.dialog->element(kBlCmdRead)->rect,
                  (SkinRect{static_cast<int>(516 * scale), static_cast<int>(420 * scale),
                            static_cast<int>(601 * scale), static_cast<int>(454 * scale)}));
        // In the Read label past its button's right edge, and in the title (labelled with the close mark's
        // id).
        for (const QPoint p : {At(*f.dialog, 602, 440), At(*f.dialog, 600, 30)}) {
            EXPECT_EQ(f.dialog->commandAt(p), -1) << scale;
            ClickAt(*f.dialog, p);
        }
        EXPECT_TRUE(f.dialog->isVisible()) << scale;
        EXPECT_TRUE(f.gui.prompts.texts().isEmpty()) << scale;
    }
}

} // namespace
