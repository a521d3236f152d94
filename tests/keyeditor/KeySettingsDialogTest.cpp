#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "controls/CSkinScrollBar.h"
#include "keyeditor/KeyToolTip.h"
#include "skin/AppResources.h"
#include "tests/keyeditor/KeySettingsTestSupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <ostream>

namespace {

std::string caption(const COrvoDialogKeyMapSettings& dialog, int id, const char* language = "en-US") {
    const SkinItem* item = dialog.element(id);
    const auto found = item->captions.find(language);
    return found == item->captions.end() ? std::string() : found->second;
}

bool selected(COrvoDialogKeyMapSettings& dialog, int id) {
    dialog.renderImage(); // flags are derived from the state as the window paints
    return dialog.element(id)->selected != 0;
}

struct OpenCase {
    const char* name;
    int mode;
    int code;
    int page;
    int selectedElement; // 0: none to check
    int singleKey;
    const char* keyName;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class OpensOnTheSlotTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpensOnTheSlotTest, ShowsItsPageAndChoice) {
    const OpenCase& c = GetParam();
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    f.assign(30, 1, c.mode, c.code);
    auto dialog = f.open(30, 1);
    EXPECT_EQ(dialog->page(), c.page);
    if (c.selectedElement != 0) {
        EXPECT_TRUE(selected(*dialog, c.selectedElement));
    }
    EXPECT_EQ(dialog->state().singleKey, c.singleKey);
    if (c.page == 1) {
        dialog->renderImage();
        EXPECT_EQ(caption(*dialog, 158), c.keyName);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OpensOnTheSlotTest,
                         ::testing::Values(OpenCase{"multimedia Mute", kTypeMultimedia, 112, 4, 408, -1, ""},
                                           OpenCase{"mouse left button", kTypeMouse, 130, 5, 506, -1, ""},
                                           OpenCase{"function backlight switch", kTypeFunction, 135, 6, 630,
                                                    -1, ""},
                                           OpenCase{"power", kTypePower, 77, 7, 703, -1, ""},
                                           OpenCase{"single A", kTypeSingle, 43, 1, 101, 65, "A"},
                                           OpenCase{"not set", kTypeNotSet, 0, 1, 101, -1, "-- --"}));

struct ListCase {
    const char* name;
    int mode;
    int page;
    RecordList ConfigDocument::*library;
    Lines content;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ListSlotTest : public ::testing::TestWithParam<ListCase> {};

// The slot's list is found in its library, or kept there as "default" until
// OK on that page saves the library; Cancel drops it.
TEST_P(ListSlotTest, IsSelectedInItsLibrary) {
    const ListCase& c = GetParam();
    const RecordList slotList = MakeList(c.content);
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        KeySettingsFixture f;
        f.gui.doc.uiLanguage = "en-US";
        f.gui.doc.*c.library = MakeLibrary({{"saved", MakeList({"Q"})}}, c.page == 1 ? 6 : 9);
        f.assign(30, 0, c.mode, 0, slotList);
        auto dialog = f.open(30);
        ASSERT_EQ(dialog->page(), c.page);
        const int secondRow = c.page == 1 ? 122 : c.page * 100 + 22;
        EXPECT_TRUE(selected(*dialog, secondRow));
        EXPECT_EQ(caption(*dialog, secondRow), "default");
        ClickOn(*dialog, ok ? kKsCmdOk : kKsCmdCancel);
        const RecordList& library = f.gui.doc.*c.library;
        ASSERT_EQ(library.count(), ok ? 2 : 1);
        if (ok) {
            EXPECT_EQ(library.items[1], "default");
            EXPECT_TRUE(library.children[1].SameContent(slotList));
            EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(30, 0))], c.mode);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListSlotTest,
    ::testing::Values(
        ListCase{"combo", kTypeCombo, 1, &ConfigDocument::predefinedCombos, {"LCTRL", "A"}},
        ListCase{"macro", kTypeMacro, 2, &ConfigDocument::predefinedMacros, {"A Down", "<5 ms>", "A UP"}},
        ListCase{"emulation", kTypeEmulation, 3, &ConfigDocument::predefinedEmulations, {"A", "B"}}));

TEST(KeySettings, AListEqualToALibraryEntryAddsNothing) {
    KeySettingsFixture f;
    RecordList third = MakeList({"A Down", "A UP"});
    third.cycles = 3;
    f.gui.doc.predefinedMacros =
        MakeLibrary({{"one", MakeList({"B Down"})}, {"two", MakeList({"C Down"})}, {"three", third}});
    RecordList slotList = third;
    slotList.sizeOfView = 2; // not compared
    f.assign(30, 0, kTypeMacro, 0, slotList);
    auto dialog = f.open(30);
    EXPECT_EQ(dialog->state().macroLibrary.count(), 3);
    EXPECT_EQ(dialog->state().macroLibrary.cursorPos, 2);
    EXPECT_EQ(dialog->state().macroRecords.items, third.items);
    EXPECT_EQ(dialog->state().macroRecords.cycles, 3);
}

TEST(KeySettings, EitherHalfOfTheSingleComboSwitchFlipsIt) {
    KeySettingsFixture f;
    auto dialog = f.open(43);
    const int clicks[] = {101, 101, 102, 102};
    int singleMode = 1;
    for (const int id : clicks) {
        ClickOn(*dialog, id);
        singleMode = 1 - singleMode;
        EXPECT_EQ(dialog->state().singleMode, singleMode) << "after a click on " << id;
        EXPECT_EQ(selected(*dialog, 151), singleMode == 1);
        EXPECT_EQ(selected(*dialog, 152), singleMode == 0);
    }
}

TEST(KeySettings, OkWithNothingChosenLeavesTheSlotNotSetAndStillSavesTheComboLibrary) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    auto dialog = f.open(43); // Single A
    ClickOn(*dialog, 102);    // Combo, for the library
    ClickOn(*dialog, 105);    // New, committed by the next click
    ClickOn(*dialog, 102);    // commits the name only
    ClickOn(*dialog, 102);    // back to Single
    ClickOn(*dialog, kKsCmdClear);
    ClickOn(*dialog, kKsCmdOk);
    EXPECT_EQ(dialog->result(), COrvoDialogKeyMapSettings::kResultOk);
    EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(43, 0))], kTypeNotSet);
    EXPECT_EQ(f.gui.doc.predefinedCombos.items, (Lines{"New Combo 1"}));
}

TEST(KeySettings, AChoiceClearedByASecondClickStoresNotSet) {
    KeySettingsFixture f;
    f.assign(30, 0, kTypeMultimedia, 112);
    auto dialog = f.open(30);
    ClickOn(*dialog, 401);
    EXPECT_TRUE(selected(*dialog, 401));
    EXPECT_FALSE(selected(*dialog, 408));
    ClickOn(*dialog, 401);
    EXPECT_FALSE(selected(*dialog, 401));
    EXPECT_EQ(dialog->state().multimediaCode, -1);
    ClickOn(*dialog, kKsCmdOk);
    EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(30, 0))], kTypeNotSet);
}

TEST(KeySettings, FnIsWrittenToBothLayersOfTheKey) {
    for (const int layer : {0, 1}) {
        KeySettingsFixture f;
        auto dialog = f.open(10, layer);
        ClickOn(*dialog, 95);  // Function page
        ClickOn(*dialog, 615); // FN
        ClickOn(*dialog, kKsCmdOk);
        for (const int l : {0, 1}) {
            EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(10, l))], kTypeFunction) << layer << l;
            EXPECT_EQ(f.gui.doc.keyCode[static_cast<std::size_t>(Slot(10, l))], 156) << layer << l;
        }
        EXPECT_EQ(f.gui.doc.keyCode[static_cast<std::size_t>(Slot(11, 0))], 11); // its neighbour untouched
    }
}

TEST(KeySettings, OkSavesOnlyTheLibraryOfThePageShown) {
    KeySettingsFixture f;
    auto dialog = f.open(30);
    ClickOn(*dialog, 91);  // Macro
    ClickOn(*dialog, 205); // New macro
    ClickOn(*dialog, 93);  // commits the name
    ClickOn(*dialog, 93);  // Multimedia
    ClickOn(*dialog, 408);
    ClickOn(*dialog, kKsCmdOk);
    EXPECT_EQ(f.gui.doc.predefinedMacros.count(), 0);
    EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(30, 0))], kTypeMultimedia);
    EXPECT_EQ(f.gui.doc.keyCode[static_cast<std::size_t>(Slot(30, 0))], 112);
}

struct DefaultCase {
    const char* name;
    int model;
    int key;
    int layer;
    int page;
    int selectedElement;
    int singleKey;
    int storedMode; // after OK
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultTest : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultTest, ChoosesTheFactoryCodeByTheDialogsOwnRule) {
    const DefaultCase& c = GetParam();
    KeySettingsFixture f(c.model);
    f.assign(c.key, c.layer, kTypePower, 75); // something else first
    auto dialog = f.open(c.key, c.layer);
    ClickOn(*dialog, kKsCmdDefault);
    EXPECT_EQ(dialog->page(), c.page);
    EXPECT_EQ(dialog->state().singleKey, c.singleKey);
    if (c.selectedElement != 0) {
        EXPECT_TRUE(selected(*dialog, c.selectedElement));
    }
    ClickOn(*dialog, kKsCmdOk);
    EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(c.key, c.layer))], c.storedMode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultTest,
    ::testing::Values(
        DefaultCase{"backlight switch on the Function page", 4, 11, 1, 6, 630, -1, kTypeFunction},
        DefaultCase{"code 0: a key without a name, stored as Not set", 3, 11, 1, 1, 0, 1023, kTypeNotSet},
        DefaultCase{"a letter on the Single page", 3, 43, 0, 1, 101, 65, kTypeSingle},
        DefaultCase{"the Fn key on the Function page", 3, 72, 0, 6, 615, -1, kTypeFunction}));

TEST(KeySettings, DefaultOfCodeZeroNamesNoKey) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    auto dialog = f.open(11, 1);
    ClickOn(*dialog, kKsCmdDefault);
    dialog->renderImage();
    EXPECT_EQ(caption(*dialog, 158), "-- --");
}

TEST(KeySettings, EnterStoresTheChoiceAsOkDoesAndEscCancels) {
    {
        KeySettingsFixture f;
        f.assign(43, 0, kTypeMultimedia, 112);
        auto dialog = f.open(43);
        ClickOn(*dialog, 90);
        ClickOn(*dialog, kKsCmdDefault); // Single A
        dialog->comboKeysView()->setFocus();
        QTest::keyClick(dialog->comboKeysView(), Qt::Key_Return);
        EXPECT_EQ(dialog->result(), COrvoDialogKeyMapSettings::kResultOk);
        EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(43, 0))], kTypeSingle);
        EXPECT_EQ(f.gui.doc.keyCode[static_cast<std::size_t>(Slot(43, 0))], 43);
    }
    {
        KeySettingsFixture f;
        auto dialog = f.open(43);
        ClickOn(*dialog, 91);
        for (QLineEdit* edit : {dialog->countEdit(), dialog->autoDelayEdit()}) {
            edit->setEnabled(true);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
        }
        ClickOn(*dialog, 94);
        ClickOn(*dialog, 502);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), COrvoDialogKeyMapSettings::kResultCancel);
        EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(43, 0))], kTypeSingle);
    }
}

TEST(KeySettings, ControlsFollowThePage) {
    KeySettingsFixture f;
    auto dialog = f.open(43);
    struct Expect {
        int tab;
        bool count, countEnabled, autoDelay, comboKeys, libraryBar, recordBar;
    };
    const Expect pages[] = {{91, true, true, true, false, true, true},
                            {92, true, true, false, false, true, true},
                            {93, false, false, false, false, false, false},
                            {90, false, false, false, true, true, false}};
    for (const Expect& e : pages) {
        ClickOn(*dialog, e.tab);
        SCOPED_TRACE(e.tab);
        EXPECT_EQ(dialog->countEdit()->isVisible(), e.count);
        EXPECT_EQ(dialog->countEdit()->isEnabled(), e.countEnabled);
        EXPECT_EQ(dialog->autoDelayEdit()->isVisible(), e.autoDelay);
        EXPECT_FALSE(dialog->autoDelayEdit()->isEnabled());
        EXPECT_EQ(dialog->comboKeysView()->isVisible(), e.comboKeys);
        EXPECT_EQ(dialog->libraryScrollBar()->isVisible(), e.libraryBar);
        EXPECT_EQ(dialog->recordScrollBar()->isVisible(), e.recordBar);
    }
}

TEST(KeySettings, EditsArePlacedByLanguageInOrangeOnDark) {
    for (const char* language : {"zh-CN", "en-US"}) {
        KeySettingsFixture f(3, 1.5f);
        f.gui.doc.uiLanguage = language;
        auto dialog = f.open(43);
        const bool chinese = std::string(language) == "zh-CN";
        EXPECT_EQ(dialog->countEdit()->geometry(), QRect(chinese ? 705 : 727, 168, 54, 27)) << language;
        EXPECT_EQ(dialog->autoDelayEdit()->geometry(), QRect(chinese ? 705 : 720, 264, 54, 27)) << language;
        EXPECT_EQ(dialog->comboKeysView()->geometry(), QRect(570, 207, 211, 78));
        const QPalette palette = dialog->countEdit()->palette();
        EXPECT_EQ(palette.color(QPalette::Text), QColor(255, 111, 0));
        EXPECT_EQ(palette.color(QPalette::Base), QColor(20, 20, 20));
        EXPECT_EQ(dialog->countEdit()->font().pixelSize(), 19);
        EXPECT_EQ(dialog->comboKeysView()->font().pixelSize(), 16);
    }
}

TEST(KeySettings, TipsShowTheHoveredButtonsTextInItsLanguage) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    f.assign(30, 0, kTypeMultimedia, 112);
    auto dialog = f.open(30);
    MoveTo(*dialog, CentreOf(*dialog, 408));
    EXPECT_TRUE(dialog->toolTip().isActive());
    EXPECT_TRUE(WaitUntil([&] { return dialog->toolTip().isVisible(); }, 2000));
    EXPECT_EQ(dialog->toolTip().text(), "Mute");
    const QPalette colours = dialog->toolTip().palette();
    EXPECT_EQ(colours.color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(colours.color(QPalette::WindowText), QColor(255, 255, 0));

    MoveTo(*dialog, At(*dialog, 300, 300)); // no tip here
    EXPECT_FALSE(dialog->toolTip().isVisible());
    ClickOn(*dialog, 94); // the Mouse page's buttons have no tips
    MoveTo(*dialog, CentreOf(*dialog, 506));
    EXPECT_FALSE(dialog->toolTip().isActive());
}

TEST(KeySettings, ChosenAndHoveredButtonsShowTheirImages) {
    KeySettingsFixture f;
    ASSERT_TRUE(f.gui.loadSkins());
    f.assign(30, 0, kTypeMultimedia, 112);
    auto dialog = f.open(30);
    MoveTo(*dialog, CentreOf(*dialog, 401));
    const QImage painted = dialog->renderImage().convertToFormat(QImage::Format_RGB32);
    const QImage& hover = f.gui.resources.image(SkinWindow::KeySettings, ImageVariant::Hover, 4);
    const QImage& chosen = f.gui.resources.image(SkinWindow::KeySettings, ImageVariant::Selected, 4);
    const QImage& background = f.gui.resources.image(SkinWindow::KeySettings, ImageVariant::Background, 4);
    const QRect mute(46 + 50 * 7, 152, 35, 36);
    const QRect mediaSelect(46, 152, 35, 36);
    const QRect stop(46 + 50 * 2, 152, 35, 36);
    const auto same = [&](const QImage& image, const QRect& area) {
        return painted.copy(area) == image.convertToFormat(QImage::Format_RGB32).copy(area);
    };
    EXPECT_TRUE(same(chosen, mute));
    EXPECT_FALSE(same(background, mute));
    EXPECT_TRUE(same(hover, mediaSelect));
    EXPECT_FALSE(same(background, mediaSelect));
    EXPECT_TRUE(same(background, stop));
}

} // namespace

namespace {

// Picks on the virtual keyboard once it is up: its keys carry device code + 99
// up to code 74, and 89 is its OK.
void pickOnTheVirtualKeyboard(QWidget* below, std::vector<int> deviceCodes) {
    WhenModal(below, [deviceCodes](QWidget* modal) {
        auto& keyboard = *static_cast<SkinnedDialog*>(modal);
        for (const int code : deviceCodes) {
            ClickOn(keyboard, code + 99);
        }
        ClickOn(keyboard, 89);
    });
}

TEST(KeySettings, TheVirtualKeyboardPicksTheSingleKey) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    auto dialog = f.open(43); // Single A
    pickOnTheVirtualKeyboard(dialog.get(), {44});
    ClickOn(*dialog, 108);
    EXPECT_EQ(f.gui.doc.pickedCode, 44);
    EXPECT_EQ(dialog->state().singleKey, 83);
    dialog->renderImage();
    EXPECT_EQ(caption(*dialog, 158), "S");
    ClickOn(*dialog, kKsCmdOk);
    EXPECT_EQ(f.gui.doc.keyMode[static_cast<std::size_t>(Slot(43, 0))], kTypeSingle);
    EXPECT_EQ(f.gui.doc.keyCode[static_cast<std::size_t>(Slot(43, 0))], 44);
}

TEST(KeySettings, TheVirtualKeyboardPicksComboKeysIntoTheSelectedEntry) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    auto dialog = f.open(43);
    ClickOn(*dialog, 102);
    ClickOn(*dialog, 109); // no library entry to keep the keys in: nothing opens
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ClickOn(*dialog, 105);
    QTest::keyClick(dialog->inPlaceEdit(), Qt::Key_Return);
    pickOnTheVirtualKeyboard(dialog.get(), {67, 43, 58});
    ClickOn(*dialog, 109);
    EXPECT_EQ(dialog->state().comboKeys.items, (Lines{"LCTRL", "A", "C"}));
    EXPECT_EQ(dialog->comboKeysView()->toPlainText(), "LCTRL + A + C");
    EXPECT_EQ(dialog->state().comboLibrary.children[0].items, dialog->state().comboKeys.items);
    ClickOn(*dialog, kKsCmdOk);
    const auto slot = static_cast<std::size_t>(Slot(43, 0));
    EXPECT_EQ(f.gui.doc.keyMode[slot], kTypeCombo);
    EXPECT_EQ(f.gui.doc.keyLists[slot].items, (Lines{"LCTRL", "A", "C"}));
    EXPECT_EQ(f.gui.doc.predefinedCombos.items, (Lines{"New Combo 1"}));
}

} // namespace
