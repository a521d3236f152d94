#include "lighting/COrvoDialogBkLightMultiSelect.h"

#include "app/elements/MultiSelectElements.h"
#include "tests/app/GuiHarness.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace {

int keyId(int keyNumber) {
    return 99 + keyNumber;
}

int selectedCount(const ConfigDocument& doc) {
    return static_cast<int>(std::count(doc.lightSelected.begin(), doc.lightSelected.end(), 1));
}

TEST(BkLightMultiSelect, KeysToggleAndSetColorEndsWithTheColour) {
    GuiHarness gui(1);
    gui.doc.pickRed = gui.doc.pickGreen = gui.doc.pickBlue = 77;
    COrvoDialogBkLightMultiSelect dialog(gui.context);
    dialog.show();
    ClickOn(dialog, keyId(5));
    ClickOn(dialog, keyId(7));
    ClickOn(dialog, keyId(5)); // twice: unselected again
    EXPECT_EQ(gui.doc.lightSelected[5], 0);
    EXPECT_EQ(gui.doc.lightSelected[7], 1);
    EXPECT_EQ(selectedCount(gui.doc), 1);
    EXPECT_FALSE(dialog.element(keyId(5))->selected);
    EXPECT_TRUE(dialog.element(keyId(7))->selected);

    ClickOn(dialog, kMsCmdSetColour); // the chooser is cancelled: the selection stays
    EXPECT_EQ(gui.prompts.coloursAsked().back(), QColor(0, 0, 0));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(gui.doc.lightSelected[7], 1);
    EXPECT_EQ(gui.doc.pickRed, 77);

    gui.prompts.nextColour(QColor(0, 0, 0)); // black is a colour like any other
    ClickOn(dialog, kMsCmdSetColour);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ((Rgb{gui.doc.pickRed, gui.doc.pickGreen, gui.doc.pickBlue}), (Rgb{0, 0, 0}));
}

class MultiSelectEndTest : public ::testing::TestWithParam<DialogEnding> {};

TEST_P(MultiSelectEndTest, OnlyAChosenColourEndsWithOk) {
    const DialogEnding& c = GetParam();
    GuiHarness gui(1);
    COrvoDialogBkLightMultiSelect dialog(gui.context);
    dialog.show();
    gui.prompts.nextColour(QColor(1, 2, 3));
    EndDialog(dialog, dialog, c);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.result);
    EXPECT_EQ(selectedCount(gui.doc), 0) << "ending with no key selected is allowed";
}

INSTANTIATE_TEST_SUITE_P(BkLightMultiSelect, MultiSelectEndTest,
                         ::testing::Values(DialogEnding{"SetColor", kMsCmdSetColour, 0, QDialog::Accepted},
                                           DialogEnding{"CloseMark", kMsCmdClose, 0, QDialog::Rejected},
                                           DialogEnding{"Escape", 0, Qt::Key_Escape, QDialog::Rejected},
                                           // Enter asks for the colour, as Set Color does.
                                           DialogEnding{"Enter", 0, Qt::Key_Return, QDialog::Accepted}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BkLightMultiSelect, PureRedIsFramedOneStepOff) {
    GuiHarness gui(1);
    gui.doc.lightWorkColours[1] = {255, 0, 0};
    gui.doc.lightWorkColours[2] = {255, 0, 1};
    gui.doc.lightWorkColours[3] = {0x1FF, 0x100, 0x100}; // low bytes (255, 0, 0), stored otherwise
    COrvoDialogBkLightMultiSelect dialog(gui.context);
    const QImage image = dialog.renderImage();
    // Left bars of Esc (172, 99, ...), F1 (266, ...) and F2 (312, ...).
    EXPECT_EQ(image.pixelColor(171, 110), QColor(255, 1, 0));
    EXPECT_EQ(image.pixelColor(265, 110), QColor(255, 0, 1));
    EXPECT_EQ(image.pixelColor(311, 110), QColor(255, 0, 0));
    EXPECT_EQ(MultiSelectFrameColour({255, 0, 0}), QColor(255, 1, 0));
}

TEST(BkLightMultiSelect, SelectedKeysShowTheHoverImageWhereverTheMouseIs) {
    for (float scale : {1.0f, 1.5f}) {
        GuiHarness gui(4, scale);
        ASSERT_TRUE(gui.loadSkins());
        const QImage& background = gui.resources.image(ImageRole::MultiKeyBackground);
        const QImage& hover = gui.resources.image(ImageRole::MultiKeyHover);
        COrvoDialogBkLightMultiSelect dialog(gui.context);
        dialog.show();
        ClickOn(dialog, keyId(43)); // A
        const QPoint a(283, 290);   // inside A (262, 288, 304, 331) in image pixels
        const QPoint s(329, 290);   // inside S, not selected
        const QPoint close(1221, 27);
        for (const QPoint p : {a, s, close}) {
            ASSERT_NE(background.pixel(p), hover.pixel(p)) << "the images must differ there";
        }

        MoveTo(dialog, At(dialog, 329, 290)); // over S
        QImage image = dialog.renderImage();
        EXPECT_EQ(image.pixel(a), hover.pixel(a)) << scale;
        EXPECT_EQ(image.pixel(s), background.pixel(s)) << "the mouse alone does nothing on a key";

        MoveTo(dialog, At(dialog, 1221, 27)); // over the close mark
        image = dialog.renderImage();
        EXPECT_EQ(image.pixel(a), hover.pixel(a)) << scale;
        EXPECT_EQ(image.pixel(close), hover.pixel(close)) << "buttons take hover";

        ClickOn(dialog, keyId(43));
        MoveTo(dialog, At(dialog, 283, 290));
        EXPECT_EQ(dialog.renderImage().pixel(a), background.pixel(a)) << "unselected again";
    }
}

} // namespace
