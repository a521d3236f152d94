#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "controls/CSkinScrollBar.h"
#include "tests/keyeditor/KeySettingsTestSupport.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <ostream>

namespace {

const Lines kFiveLines = {"A Down", "<20 ms>", "A UP", "<50 ms>", "B Down"};

ScrollInfo infoOf(const CSkinScrollBar& bar) {
    ScrollInfo info;
    info.mask = kSifAll;
    bar.getScrollInfo(info);
    return info;
}

// The Macro page on a library of the given entries, the first one selected.
struct MacroPage {
    explicit MacroPage(const std::vector<std::pair<std::string, RecordList>>& entries,
                       const char* language = "en-US") {
        f.gui.doc.uiLanguage = language;
        f.gui.doc.predefinedMacros = MakeLibrary(entries);
        dialog = f.open(30);
        ClickOn(*dialog, 91);
    }

    const RecordList& macro() const { return dialog->state().macroRecords; }
    const RecordList& library() const { return dialog->state().macroLibrary; }

    KeySettingsFixture f;
    std::unique_ptr<COrvoDialogKeyMapSettings> dialog;
};

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

struct NameCase {
    const char* language;
    int newId;
    Lines existing;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.language << " " << c.expected;
}

class NewEntryTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NewEntryTest, OffersTheFirstFreeNameAndTakesItOnCommit) {
    const NameCase& c = GetParam();
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = c.language;
    std::vector<std::pair<std::string, RecordList>> entries;
    for (const std::string& name : c.existing) {
        entries.emplace_back(name, MakeList({"A"}));
    }
    const int page = c.newId / 100;
    f.gui.doc.predefinedEmulations = MakeLibrary(entries);
    f.gui.doc.predefinedCombos = MakeLibrary(entries, 6);
    auto dialog = f.open(30);
    ClickOn(*dialog, 89 + page);
    if (page == 1) {
        ClickOn(*dialog, 102);
    }
    const RecordList& library = page == 1 ? dialog->state().comboLibrary : dialog->state().emulationLibrary;
    ClickOn(*dialog, c.newId);
    ASSERT_TRUE(dialog->inPlaceEdit()->isVisible());
    EXPECT_EQ(dialog->inPlaceEdit()->text(), QString::fromUtf8(c.expected));
    EXPECT_EQ(library.items.back(), ""); // named only when committed
    EXPECT_EQ(infoOf(*dialog->libraryScrollBar()).maximum, library.count() + library.sizeOfView - 1);
    QTest::keyClick(dialog->inPlaceEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->inPlaceEdit()->isVisible());
    EXPECT_EQ(library.items.back(), c.expected);
    EXPECT_EQ(library.ItemText(library.cursorPos), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NewEntryTest,
                         ::testing::Values(NameCase{"en-US", 305, {"New Emu 1", "x"}, "New Emu 2"},
                                           NameCase{"en-US", 305, {"New Emu 2"}, "New Emu 1"},
                                           NameCase{"zh-CN", 305, {}, "模拟击键1"},
                                           NameCase{"zh-CN", 105, {"组合键1", "组合键2"}, "组合键3"},
                                           NameCase{"en-US", 105, {}, "New Combo 1"}));

TEST(Libraries, NewAndRemoveOfTheComboLibraryWorkInComboModeOnly) {
    KeySettingsFixture f;
    f.gui.doc.predefinedCombos = MakeLibrary({{"one", MakeList({"A"}, 6)}}, 6);
    auto dialog = f.open(43); // Single
    ClickOn(*dialog, 105);
    ClickOn(*dialog, 106);
    EXPECT_EQ(dialog->state().comboLibrary.count(), 1);
    EXPECT_FALSE(dialog->inPlaceEdit()->isVisible());
}

TEST(Libraries, ARowClickStoresTheListBeingEditedAndLoadsTheOther) {
    MacroPage p({{"one", MakeList(kFiveLines)}, {"two", MakeList({"C Down"})}});
    ClickOn(*p.dialog, 208); // play mode 1 for "one"
    ClickOn(*p.dialog, 222);
    EXPECT_EQ(p.library().cursorPos, 1);
    EXPECT_EQ(p.macro().items, (Lines{"C Down"}));
    EXPECT_EQ(p.library().children[0].playMode, 1);
    EXPECT_EQ(infoOf(*p.dialog->recordScrollBar()).maximum, 1 + 9 - 1);
    EXPECT_FALSE(p.dialog->inPlaceEdit()->isVisible());

    ClickOn(*p.dialog, 229); // past the end: nothing
    EXPECT_EQ(p.library().cursorPos, 1);
}

TEST(Libraries, TheSelectedRowOpensForRenamingAndTheNextClickOnlyCommits) {
    MacroPage p({{"one", MakeList({"A Down"})}, {"two", MakeList({"C Down"})}});
    DoubleClickAt(*p.dialog, CentreOf(*p.dialog, 222)); // an unselected row: selected, not opened
    EXPECT_EQ(p.library().cursorPos, 1);
    EXPECT_FALSE(p.dialog->inPlaceEdit()->isVisible());

    DoubleClickAt(*p.dialog, CentreOf(*p.dialog, 222)); // the selected row: opened
    ASSERT_TRUE(p.dialog->inPlaceEdit()->isVisible());
    EXPECT_EQ(p.dialog->inPlaceEdit()->text(), "two");
    EXPECT_EQ(p.dialog->inPlaceEdit()->geometry(), p.dialog->windowRect(*p.dialog->element(222)));
    typeInto(p.dialog->inPlaceEdit(), "second");
    ClickOn(*p.dialog, 93); // commits; the page stays
    EXPECT_EQ(p.dialog->page(), 2);
    EXPECT_EQ(p.library().items, (Lines{"one", "second"}));
    EXPECT_FALSE(p.dialog->inPlaceEdit()->isVisible());
}

TEST(Libraries, RemoveDeletesTheSelectedEntryAndLoadsTheNextSelected) {
    MacroPage p(
        {{"one", MakeList({"A Down"})}, {"two", MakeList({"B Down"})}, {"three", MakeList({"C Down"})}});
    ClickOn(*p.dialog, 222);
    ClickOn(*p.dialog, 206);
    EXPECT_EQ(p.library().items, (Lines{"one", "three"}));
    EXPECT_EQ(p.macro().items, (Lines{"C Down"}));
    EXPECT_EQ(infoOf(*p.dialog->libraryScrollBar()).maximum, 2 + 9 - 1);
    ClickOn(*p.dialog, 206);
    ClickOn(*p.dialog, 206);
    ClickOn(*p.dialog, 206); // empty: nothing more
    EXPECT_EQ(p.library().count(), 0);
    EXPECT_EQ(p.macro().count(), 0);
    EXPECT_FALSE(p.dialog->libraryScrollBar()->isEnabled());
}

TEST(RecordList, PlayModesChooseTheLoopCountsUse) {
    MacroPage p({{"one", MakeList({"A Down"})}});
    const std::pair<int, int> modes[] = {{208, 1}, {209, 2}, {201, 0}};
    for (const auto& [element, mode] : modes) {
        ClickOn(*p.dialog, element);
        EXPECT_EQ(p.macro().playMode, mode);
        EXPECT_EQ(p.library().children[0].playMode, mode);
        EXPECT_EQ(p.dialog->countEdit()->isEnabled(), mode == 0);
        p.dialog->renderImage();
        for (const int id : {201, 208, 209}) {
            EXPECT_EQ(p.dialog->element(id)->selected != 0, id == element);
        }
    }
}

struct EditCase {
    int page;
    bool automatic;
    const char* typed;
    const char* shown;
    int value;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << "page " << c.page << (c.automatic ? " automatic delay " : " ") << c.typed;
}

class NumberEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(NumberEditTest, ClampsAndWritesTheValueBack) {
    const EditCase& c = GetParam();
    KeySettingsFixture f;
    f.gui.doc.predefinedMacros = MakeLibrary({{"m", MakeList({"A Down"})}});
    f.gui.doc.predefinedEmulations = MakeLibrary({{"e", MakeList({"A"})}});
    auto dialog = f.open(30);
    ClickOn(*dialog, 89 + c.page);
    QLineEdit* edit = dialog->countEdit();
    if (c.automatic) {
        ClickOn(*dialog, 203);
        edit = dialog->autoDelayEdit();
    }
    ASSERT_TRUE(edit->isEnabled());
    typeInto(edit, c.typed);
    EXPECT_EQ(edit->text(), c.shown);
    const KeyMapState& state = dialog->state();
    const int stored = c.page == 3   ? state.emulationLibrary.children[0].delay
                       : c.automatic ? state.macroLibrary.children[0].delay
                                     : state.macroLibrary.children[0].cycles;
    EXPECT_EQ(stored, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberEditTest,
    ::testing::Values(EditCase{2, false, "0", "1", 1}, EditCase{2, false, "300", "255", 255},
                      EditCase{2, false, "17", "17", 17}, EditCase{3, false, "7000", "6000", 6000},
                      EditCase{3, false, "0", "0", 0}, EditCase{2, true, "70000", "60000", 60000},
                      EditCase{2, true, "0", "0", 0}));

TEST(RecordList, DelayModesConvertTheLinesBothWays) {
    MacroPage p({{"one", MakeList(kFiveLines)}});
    ClickOn(*p.dialog, 203);
    EXPECT_EQ(p.macro().items, (Lines{"A Down", "A UP", "B Down"}));
    EXPECT_TRUE(p.macro().isAutoInterval);
    EXPECT_TRUE(p.dialog->autoDelayEdit()->isEnabled());
    EXPECT_EQ(infoOf(*p.dialog->recordScrollBar()).maximum, 3 + 9 - 1);

    typeInto(p.dialog->autoDelayEdit(), "45");
    ClickOn(*p.dialog, 210);
    EXPECT_EQ(p.macro().items, (Lines{"A Down", "<45 ms>", "A UP", "<45 ms>", "B Down"}));
    EXPECT_FALSE(p.macro().isAutoInterval);
    EXPECT_FALSE(p.dialog->autoDelayEdit()->isEnabled());
    EXPECT_EQ(p.library().children[0].items, p.macro().items);
    EXPECT_EQ(infoOf(*p.dialog->recordScrollBar()).maximum, 5 + 9 - 1);
}

TEST(RecordList, TheSelectedDelayLineOpensForEditingWithinItsRange) {
    MacroPage p({{"one", MakeList(kFiveLines)}});
    ClickOn(*p.dialog, 242);
    EXPECT_EQ(p.macro().cursorPos, 1);
    EXPECT_FALSE(p.dialog->inPlaceEdit()->isVisible());
    ClickOn(*p.dialog, 242);
    ASSERT_TRUE(p.dialog->inPlaceEdit()->isVisible());
    EXPECT_EQ(p.dialog->inPlaceEdit()->text(), "20");
    typeInto(p.dialog->inPlaceEdit(), "70000");
    QTest::keyClick(p.dialog->inPlaceEdit(), Qt::Key_Return);
    EXPECT_EQ(p.macro().items[1], "<65535 ms>");
    EXPECT_EQ(p.library().children[0].items[1], "<65535 ms>");

    ClickOn(*p.dialog, 243);
    ClickOn(*p.dialog, 243); // a key line: nothing to edit
    EXPECT_FALSE(p.dialog->inPlaceEdit()->isVisible());
}

TEST(RecordList, TheMenuInsertsMouseLinesBeforeTheRightClickedLine) {
    MacroPage p({{"one", MakeList(kFiveLines)}});
    p.f.gui.prompts.nextMenuChoice(1137);
    RightClickAt(*p.dialog, CentreOf(*p.dialog, 242));
    ASSERT_EQ(p.f.gui.prompts.menusShown().size(), 1u);
    const std::vector<PromptMenuItem>& menu = p.f.gui.prompts.menusShown()[0].items;
    QStringList shown;
    for (const PromptMenuItem& item : menu) {
        QStringList sub;
        for (const PromptMenuItem& entry : item.items) {
            sub << QStringLiteral("%1=%2").arg(entry.text).arg(entry.command);
        }
        shown << (item.items.empty() ? QStringLiteral("%1=%2").arg(item.text).arg(item.command)
                                     : item.text + "(" + sub.join(',') + ")");
    }
    EXPECT_EQ(shown.join(' '), "Left Click(Press=1135,Release=1136,Click=1137) "
                               "Right Click(Press=1138,Release=1139,Click=1140) "
                               "Middle Click(Press=1141,Release=1142,Click=1143) Wheel(Up=1144,Down=1145) "
                               "Delete=1147");
    EXPECT_EQ(p.macro().items, (Lines{"A Down", "<0 ms>", "Mouse Key Left", "<0 ms>", "Mouse Key Left",
                                      "<20 ms>", "A UP", "<50 ms>", "B Down"}));
    EXPECT_EQ(p.library().children[0].items, p.macro().items);
    EXPECT_EQ(infoOf(*p.dialog->recordScrollBar()).maximum, 9 + 9 - 1);

    p.f.gui.prompts.nextMenuChoice(1147);
    RightClickAt(*p.dialog, CentreOf(*p.dialog, 241));
    EXPECT_EQ(p.macro().items,
              (Lines{"Mouse Key Left", "<0 ms>", "Mouse Key Left", "<20 ms>", "A UP", "<50 ms>", "B Down"}));
    EXPECT_EQ(infoOf(*p.dialog->recordScrollBar()).maximum, 7 + 9 - 1);

    RightClickAt(*p.dialog, CentreOf(*p.dialog, 249)); // no line there: no menu
    EXPECT_EQ(p.f.gui.prompts.menusShown().size(), 2u);
}

TEST(RecordList, TheMenuSpeaksTheInterfaceLanguage) {
    MacroPage p({{"one", MakeList(kFiveLines)}}, "zh-CN");
    RightClickAt(*p.dialog, CentreOf(*p.dialog, 241));
    ASSERT_EQ(p.f.gui.prompts.menusShown().size(), 1u);
    const std::vector<PromptMenuItem>& menu = p.f.gui.prompts.menusShown()[0].items;
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].text, "鼠标左键");
    EXPECT_EQ(menu[0].items[2].text, "点击");
    EXPECT_EQ(menu[3].items[1].text, "后翻");
    EXPECT_EQ(menu[4].text, "删除");
    EXPECT_EQ(p.macro().items, kFiveLines); // dismissed
}

TEST(ScrollBars, RangesFollowTheListsAndScrollingMovesTheSelection) {
    std::vector<std::pair<std::string, RecordList>> entries;
    for (int i = 0; i < 12; ++i) {
        entries.emplace_back("m" + std::to_string(i),
                             i == 0 ? RecordList{} : MakeList({"K" + std::to_string(i)}));
    }
    MacroPage p(entries);
    CSkinScrollBar& libraryBar = *p.dialog->libraryScrollBar();
    CSkinScrollBar& recordBar = *p.dialog->recordScrollBar();
    ScrollInfo info = infoOf(libraryBar);
    EXPECT_EQ(info.minimum, 0);
    EXPECT_EQ(info.maximum, 12 + 9 - 1);
    EXPECT_EQ(info.page, 9);
    EXPECT_EQ(info.position, 0);
    EXPECT_TRUE(libraryBar.isEnabled());
    EXPECT_FALSE(recordBar.isEnabled()); // an empty list fits

    ClickOn(*p.dialog, 205); // New: one more entry
    EXPECT_EQ(infoOf(libraryBar).maximum, 13 + 9 - 1);
    // Esc while naming it cancels the dialog, as anywhere else.
    QTest::keyClick(p.dialog->inPlaceEdit(), Qt::Key_Escape);
    EXPECT_FALSE(p.dialog->isVisible());
    EXPECT_EQ(p.f.gui.doc.predefinedMacros.count(), 12);
}

TEST(ScrollBars, ScrollingTheLibraryStoresAndLoadsTheSelectedEntry) {
    std::vector<std::pair<std::string, RecordList>> entries;
    for (int i = 0; i < 12; ++i) {
        entries.emplace_back("m" + std::to_string(i), MakeList({"K" + std::to_string(i)}));
    }
    MacroPage p(entries);
    CSkinScrollBar& libraryBar = *p.dialog->libraryScrollBar();
    ClickOn(*p.dialog, 208); // changes entry 0
    for (int i = 0; i < 10; ++i) {
        Q_EMIT libraryBar.scrollRequest(CSkinScrollBar::kLineDown, 0);
    }
    EXPECT_EQ(infoOf(libraryBar).position, 10);
    EXPECT_EQ(p.library().viewStartAt, 9); // the view moved on when the cursor left it at 9
    EXPECT_EQ(p.library().cursorPos, 1);
    EXPECT_EQ(p.macro().items, (Lines{"K10"}));
    EXPECT_EQ(p.library().children[0].playMode, 1);

    Q_EMIT libraryBar.scrollRequest(CSkinScrollBar::kPageDown, 0);
    EXPECT_EQ(infoOf(libraryBar).position, 12); // n: the last page shows the last entry alone
    EXPECT_EQ(p.macro().items, (Lines{"K11"}));
    Q_EMIT libraryBar.scrollRequest(CSkinScrollBar::kThumbTrack, 3);
    EXPECT_EQ(infoOf(libraryBar).position, 3);
    EXPECT_EQ(p.library().viewStartAt, 3);
    EXPECT_EQ(p.macro().items, (Lines{"K3"}));
    Q_EMIT libraryBar.scrollRequest(CSkinScrollBar::kPageUp, 0);
    EXPECT_EQ(infoOf(libraryBar).position, 0);
    EXPECT_EQ(p.library().viewStartAt, 0); // index 0 lies before the view: the view starts there
    EXPECT_EQ(p.macro().items, (Lines{"K0"}));
    EXPECT_EQ(p.macro().playMode, 1);
}

TEST(ScrollBars, ScrollingTheRecordListMovesItsCursor) {
    Lines lines;
    for (int i = 0; i < 20; ++i) {
        lines.push_back("K" + std::to_string(i));
    }
    MacroPage p({{"one", MakeList(lines)}});
    CSkinScrollBar& recordBar = *p.dialog->recordScrollBar();
    EXPECT_EQ(infoOf(recordBar).maximum, 20 + 9 - 1);
    Q_EMIT recordBar.scrollRequest(CSkinScrollBar::kPageDown, 0);
    EXPECT_EQ(p.macro().viewStartAt, 9);
    EXPECT_EQ(p.macro().cursorPos, 0);
    Q_EMIT recordBar.scrollRequest(CSkinScrollBar::kLineDown, 0);
    EXPECT_EQ(p.macro().cursorPos, 1);
    p.dialog->renderImage();
    EXPECT_EQ(p.dialog->element(241)->captions.at("en-US"), "K9");
    EXPECT_TRUE(p.dialog->element(242)->selected);
}

} // namespace
