#include "keyeditor/OrvoDialogVirtual.h"

#include "app/elements/VirtualKeyElements.h"
#include "tests/app/GuiHarness.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Ids of the keys of these tests (the device code is in brackets).
constexpr int kEsc = 100;       // 1
constexpr int kA = 142;         // 43
constexpr int kS = 143;         // 44
constexpr int kC = 157;         // 58
constexpr int kLeftCtrl = 166;  // 67
constexpr int kRightCtrl = 173; // 74, the last id before the power-key gap
constexpr int kPrtScreen = 174; // 78, the first after it
constexpr int kKpEnter = 203;   // 107

std::vector<int> selectedKeys(const OrvoDialogVirtual& dialog) {
    std::vector<int> ids;
    for (const SkinItem& item : dialog.elements()) {
        if (item.id >= kVkFirstKeyId && item.selected != 0) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

std::vector<int> pickedCombo(const ConfigDocument& doc) {
    return {doc.pickedComboCodes.begin(), doc.pickedComboCodes.begin() + doc.pickedComboCount};
}

struct OpenCase {
    const char* name;
    int pickedCode;
    int selectedId; // 0: none
    const char* display;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class SingleKeyOpens : public ::testing::TestWithParam<OpenCase> {};

// The caller's current key is preselected by its device code, across the
// gap where the power keys have no cap; a code no key has selects nothing
// but is still named.
TEST_P(SingleKeyOpens, WithTheCurrentKeySelected) {
    const OpenCase& c = GetParam();
    GuiHarness gui;
    gui.doc.uiLanguage = "en-US";
    gui.doc.pickedCode = c.pickedCode;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 1;
    dialog.show();
    EXPECT_EQ(selectedKeys(dialog), c.selectedId == 0 ? std::vector<int>{} : std::vector<int>{c.selectedId});
    EXPECT_EQ(dialog.display()->text().toStdString(), c.display);
    EXPECT_EQ(gui.doc.pickedCode, c.pickedCode) << "opening picks nothing";
}

INSTANTIATE_TEST_SUITE_P(OrvoDialogVirtual, SingleKeyOpens,
                         ::testing::Values(OpenCase{"Esc", 1, kEsc, "Single:ESC"},
                                           OpenCase{"A", 43, kA, "Single:A"},
                                           OpenCase{"RightCtrl", 74, kRightCtrl, "Single:RCTRL"},
                                           OpenCase{"PrtScreen", 78, kPrtScreen, "Single:PRINT SCREEN"},
                                           OpenCase{"KeypadEnter", 107, kKpEnter, "Single:(Enter)"},
                                           OpenCase{"NoKey", -1, 0, "Single:-- --"},
                                           OpenCase{"PowerKeyWithoutCap", 75, 0, "Single:Wake Up"},
                                           OpenCase{"CodeWithoutName", 77, 0, "Single:-- --"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(OrvoDialogVirtual, ASingleKeyClickReplacesThePickAndASecondClearsIt) {
    GuiHarness gui;
    gui.doc.uiLanguage = "en-US";
    gui.doc.pickedCode = 43;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 1;
    dialog.show();

    ClickOn(dialog, kS);
    EXPECT_EQ(selectedKeys(dialog), std::vector<int>{kS});
    EXPECT_EQ(gui.doc.pickedCode, 44);
    EXPECT_EQ(dialog.display()->text(), "Single:S");

    ClickOn(dialog, kS);
    EXPECT_TRUE(selectedKeys(dialog).empty());
    EXPECT_EQ(gui.doc.pickedCode, 0);
    EXPECT_EQ(dialog.display()->text(), "Single:-- --");
    EXPECT_TRUE(dialog.isVisible());
}

// As the key settings dialog runs it: construct, set the mode, exec.
TEST(OrvoDialogVirtual, ADoubleClickOnAKeyPicksItAndEndsInSingleMode) {
    GuiHarness gui;
    gui.doc.pickedCode = 43;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 1;
    WhenModal(nullptr, [](QWidget* modal) {
        auto& shown = static_cast<OrvoDialogVirtual&>(*modal);
        DoubleClickAt(shown, CentreOf(shown, kC));
    });
    EXPECT_EQ(dialog.exec(), OrvoDialogVirtual::kOk);
    EXPECT_EQ(gui.doc.pickedCode, 58);
}

TEST(OrvoDialogVirtual, ADoubleClickInComboModeTogglesTheKeyOnce) {
    GuiHarness gui;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 2;
    dialog.show();
    DoubleClickAt(dialog, CentreOf(dialog, kA));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(selectedKeys(dialog), std::vector<int>{kA});
    EXPECT_EQ(pickedCombo(gui.doc), std::vector<int>{43});
}

// Clicked where the keys are drawn (1080-based), independent of the table.
TEST(OrvoDialogVirtual, ComboKeysKeepTheirPickingOrderWhenOneIsReleased) {
    GuiHarness gui(3, 1.5f);
    gui.doc.uiLanguage = "en-US";
    // What an earlier run left behind is no part of this one.
    gui.doc.pickedComboCodes = {9, 9, 9, 9, 9, 9};
    gui.doc.pickedComboCount = 6;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 2;
    dialog.show();
    EXPECT_EQ(dialog.display()->text(), "Combo:-- --");
    EXPECT_EQ(gui.doc.pickedComboCodes, (std::array<int, 6>{}));

    const QPoint leftCtrl = At(dialog, 52, 268);
    const QPoint a = At(dialog, 113, 194);
    ClickAt(dialog, leftCtrl);
    ClickAt(dialog, a);
    ClickAt(dialog, At(dialog, 213, 231)); // C
    EXPECT_EQ(pickedCombo(gui.doc), (std::vector<int>{67, 43, 58}));
    EXPECT_EQ(dialog.display()->text(), "Combo:LCTRL+A+C");

    ClickAt(dialog, a);
    EXPECT_EQ(gui.doc.pickedComboCodes, (std::array<int, 6>{67, 58, 0, 0, 0, 0}));
    EXPECT_EQ(gui.doc.pickedComboCount, 2);
    EXPECT_EQ(dialog.display()->text(), "Combo:LCTRL+C");
    EXPECT_EQ(selectedKeys(dialog), (std::vector<int>{kC, kLeftCtrl}));
}

TEST(OrvoDialogVirtual, ASeventhComboKeyIsRefused) {
    GuiHarness gui;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = 2;
    dialog.show();
    for (int id = 128; id < 134; ++id) { // Q W E R T Y
        ClickOn(dialog, id);
    }
    const std::vector<int> six{29, 30, 31, 32, 33, 34};
    EXPECT_EQ(pickedCombo(gui.doc), six);

    ClickOn(dialog, 134); // U
    EXPECT_EQ(pickedCombo(gui.doc), six);
    EXPECT_EQ(selectedKeys(dialog).size(), 6u);
    EXPECT_FALSE(dialog.element(134)->selected);

    ClickOn(dialog, 128); // with Q released, U fits
    ClickOn(dialog, 134);
    EXPECT_EQ(pickedCombo(gui.doc), (std::vector<int>{30, 31, 32, 33, 34, 35}));
}

struct DisplayCase {
    const char* name;
    const char* language;
    int pickMode;
    const char* display;
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
    *os << c.name;
}

class DisplayText : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayText, NamesThePickInTheInterfaceLanguage) {
    const DisplayCase& c = GetParam();
    GuiHarness gui;
    gui.doc.uiLanguage = c.language;
    gui.doc.pickedCode = 43;
    OrvoDialogVirtual dialog(gui.context);
    dialog.pickMode = c.pickMode;
    dialog.show();
    if (c.pickMode == 2) {
        ClickOn(dialog, kA);
        ClickOn(dialog, kS);
    }
    EXPECT_EQ(dialog.display()->text().toStdString(), c.display);
}

INSTANTIATE_TEST_SUITE_P(OrvoDialogVirtual, DisplayText,
                         ::testing::Values(DisplayCase{"SingleChinese", "zh-CN", 1, "单键：A"},
                                           DisplayCase{"SingleEnglish", "en-US", 1, "Single:A"},
                                           DisplayCase{"ComboChinese", "zh-CN", 2, "组合键：A+S"},
                                           DisplayCase{"ComboEnglish", "en-US", 2, "Combo:A+S"}),
                         [](const auto& row) { return std::string(row.param.name); });

class Ending : public ::testing::TestWithParam<DialogEnding> {};

// Enter and Esc reach the dialog from the display edit, where the focus is.
TEST_P(Ending, ByButtonOrKey) {
    const DialogEnding& c = GetParam();
    GuiHarness gui;
    OrvoDialogVirtual dialog(gui.context);
    dialog.show();
    EndDialog(dialog, *dialog.display(), c);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(OrvoDialogVirtual, Ending,
                         ::testing::Values(DialogEnding{"Ok", kVkCmdOk, 0, 1},
                                           DialogEnding{"Cancel", kVkCmdCancel, 0, 2},
                                           DialogEnding{"CloseBox", kVkCmdClose, 0, 2},
                                           DialogEnding{"Enter", 0, Qt::Key_Return, 1},
                                           DialogEnding{"Escape", 0, Qt::Key_Escape, 2}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(OrvoDialogVirtual, TheDisplayIsAReadOnlyDarkEditScaledWithTheWindow) {
    GuiHarness gui(3, 1.5f);
    OrvoDialogVirtual dialog(gui.context);
    const QLineEdit& display = *dialog.display();
    EXPECT_TRUE(display.isReadOnly());
    EXPECT_EQ(display.geometry(), QRect(30, 457, 750, 48));
    EXPECT_EQ(display.font().pixelSize(), 22);
    EXPECT_EQ(display.palette().color(QPalette::Text), QColor(255, 111, 0));
    EXPECT_EQ(display.palette().color(QPalette::Base), QColor(20, 20, 20));
}

} // namespace
