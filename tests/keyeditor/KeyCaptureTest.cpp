#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "tests/keyeditor/KeySettingsTestSupport.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <chrono>
#include <ostream>

namespace {

using std::chrono::milliseconds;

constexpr int kRecordMacro = 207;
constexpr int kRecordEmulation = 302;
constexpr int kRecordSingle = 104;
constexpr int kRecordCombo = 107;
constexpr int kComboSwitch = 102;

// One hooked keystroke, `after` milliseconds after the one before it.
struct Key {
    unsigned message;
    std::uint32_t vk;
    int after = 0;
    bool extended = false;
};

Key down(std::uint32_t vk, int after = 0, bool extended = false) {
    return {WM_KEYDOWN, vk, after, extended};
}
Key up(std::uint32_t vk, int after = 0, bool extended = false) {
    return {WM_KEYUP, vk, after, extended};
}

std::vector<Key> typedTimes(int events) {
    std::vector<Key> keys;
    for (int i = 0; i < events; ++i) {
        keys.push_back(i % 2 == 0 ? down('A', 1) : up('A', 1));
    }
    return keys;
}

// The Macro, Emulate or Single/Combo page on a library of one entry.
struct CapturePage {
    explicit CapturePage(int page, bool automaticDelay = false, int singleMode = 1) {
        RecordList macro = MakeList({"Z Down"});
        macro.isAutoInterval = automaticDelay;
        f.gui.doc.uiLanguage = "en-US";
        f.gui.doc.predefinedMacros = MakeLibrary({{"m", macro}});
        f.gui.doc.predefinedEmulations = MakeLibrary({{"e", MakeList({"Z"})}});
        f.gui.doc.predefinedCombos = MakeLibrary({{"c", MakeList({"Z"}, 6)}}, 6);
        dialog = f.open(30);
        ClickOn(*dialog, 89 + page);
        if (singleMode == 0) {
            ClickOn(*dialog, kComboSwitch);
        }
    }

    void type(const std::vector<Key>& keys) {
        for (const Key& key : keys) {
            f.gui.clock.advance(milliseconds(key.after));
            ASSERT_TRUE(f.gui.hook.type(key.message, key.vk, key.extended));
            QCoreApplication::sendPostedEvents(dialog.get());
        }
    }

    KeySettingsFixture f;
    std::unique_ptr<COrvoDialogKeyMapSettings> dialog;
};

struct CaptureCase {
    const char* name;
    int page;
    bool automaticDelay;
    std::vector<Key> keys;
    // The working list once the capture has stopped.
    Lines expected;
    // Expected only when the list is long: its size and its last line.
    int expectedCount = -1;
    const char* lastLine = nullptr;
};

void PrintTo(const CaptureCase& c, std::ostream* out) {
    *out << c.name;
}

class CaptureTest : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureTest, HookedKeysBecomeTheLinesOfTheList) {
    const CaptureCase& c = GetParam();
    CapturePage p(c.page, c.automaticDelay);
    const int record = c.page == 2 ? kRecordMacro : kRecordEmulation;
    ClickOn(*p.dialog, record);
    ASSERT_TRUE(p.f.gui.hook.installed());
    p.type(c.keys);
    ClickOn(*p.dialog, record);
    EXPECT_FALSE(p.f.gui.hook.installed());
    const KeyMapState& state = p.dialog->state();
    const RecordList& list = c.page == 2 ? state.macroRecords : state.emulationRecords;
    if (c.expectedCount >= 0) {
        EXPECT_EQ(list.count(), c.expectedCount);
        EXPECT_EQ(list.items.back(), c.lastLine);
    } else {
        EXPECT_EQ(list.items, c.expected);
    }
    // The stop stores the list in the library's selected entry.
    const RecordList& library = c.page == 2 ? state.macroLibrary : state.emulationLibrary;
    EXPECT_EQ(library.ChildAt(0).items, list.items);
}

INSTANTIATE_TEST_SUITE_P(
    Captures, CaptureTest,
    ::testing::Values(
        CaptureCase{"AKeyPressedAndReleasedWithTheClosingDelay",
                    2,
                    false,
                    {down('A'), up('A', 20)},
                    {"A Down", "<20 ms>", "A UP", "<50 ms>"}},
        CaptureCase{"EachDelaySinceThePreviousKeyCappedAt65535",
                    2,
                    false,
                    {down('A', 5000), down('B', 70000), up('A', 3), up('B', 65535)},
                    {"A Down", "<65535 ms>", "B Down", "<3 ms>", "A UP", "<65535 ms>", "B UP", "<50 ms>"}},
        CaptureCase{"AutoRepeatAddsNothingButMovesTheTimeBase",
                    2,
                    false,
                    {down('A'), down('A', 500), down('A', 30), up('A', 40)},
                    {"A Down", "<40 ms>", "A UP", "<50 ms>"}},
        CaptureCase{"TheAutomaticDelayRecordsKeyLinesOnly",
                    2,
                    true,
                    {down('A'), up('A', 20), down('B', 20)},
                    {"A Down", "A UP", "B Down"}},
        CaptureCase{
            "LeftAndRightShiftAndKeypadEnter",
            2,
            true,
            {down(0xA0), down(0xA1), up(0xA1), up(0xA0), down(13, 0, true), up(13, 0, true), down(13)},
            {"LSHIFT Down", "RSHIFT Down", "RSHIFT UP", "LSHIFT UP", "(Enter) Down", "(Enter) UP",
             "ENTER Down"}},
        CaptureCase{"AShiftWithoutASideTakesTheSideThatIsDown",
                    2,
                    true,
                    {down(0xA1), down(16), up(0xA1), up(16)},
                    {"RSHIFT Down", "RSHIFT UP"}},
        CaptureCase{"RecordedDelaysStopAt799Lines", 2, false, typedTimes(450), {}, 799, "A UP"},
        CaptureCase{"TheAutomaticDelayStopsAt1600Lines", 2, true, typedTimes(1700), {}, 1600, "A UP"},
        CaptureCase{"EmulationKeepsSixPressesWithoutRepeats",
                    3,
                    false,
                    {down('A'), down('A'), up('A'), down('B'), up('B'), down('B'), up('B'), down('C'),
                     down('D'), down('E'), down('F'), down('G')},
                    {"A", "B", "B", "C", "D", "E"}}),
    [](const ::testing::TestParamInfo<CaptureCase>& row) { return std::string(row.param.name); });

TEST(KeyCapture, OkAfterARecordingGivesTheSlotAndTheLibraryTheLines) {
    CapturePage p(2);
    ClickOn(*p.dialog, kRecordMacro);
    p.type({down('A'), up('A', 120)});
    ClickOn(*p.dialog, 88); // stops
    ClickOn(*p.dialog, 88); // ends
    const Lines expected = {"A Down", "<120 ms>", "A UP", "<50 ms>"};
    const auto slot = static_cast<std::size_t>(Slot(30, 0));
    EXPECT_EQ(p.f.gui.doc.keyMode[slot], kTypeMacro);
    EXPECT_EQ(p.f.gui.doc.keyLists[slot].items, expected);
    EXPECT_EQ(p.f.gui.doc.predefinedMacros.ChildAt(0).items, expected);
}

TEST(KeyCapture, ComboKeepsSixPressesAndAKeyRepeatedInARowOnce) {
    CapturePage p(1, false, 0);
    ClickOn(*p.dialog, kRecordCombo);
    ASSERT_TRUE(p.dialog->state().recordingCombo);
    EXPECT_TRUE(p.dialog->state().comboKeys.items.empty()) << "a combo capture starts empty";
    p.type(
        {down(0xA2), down(0xA2), down('A'), up('A'), down('A'), down('B'), down('C'), down('D'), down('E')});
    ClickOn(*p.dialog, kRecordCombo);
    const Lines expected = {"LCTRL", "A", "A", "B", "C", "D"};
    EXPECT_EQ(p.dialog->state().comboKeys.items, expected);
    EXPECT_EQ(p.dialog->state().comboLibrary.ChildAt(0).items, expected);
    EXPECT_EQ(p.dialog->comboKeysView()->toPlainText().toStdString(), "LCTRL + A + A + B + C + D");
}

TEST(KeyCapture, TheSingleKeyTakesEachNewPressAndReportsAKeyThatDoesNotComeBack) {
    CapturePage p(1);
    ClickOn(*p.dialog, kRecordSingle);
    p.type({down('A'), up('A')});
    EXPECT_EQ(p.dialog->state().singleKey, 'A');
    EXPECT_TRUE(p.f.gui.prompts.shown().empty());
    // Shift without a side has no device code: its code 0 comes back as 1023.
    p.type({down(16)});
    EXPECT_EQ(p.dialog->state().singleKey, 1023);
    ASSERT_EQ(p.f.gui.prompts.shown().size(), 1u);
    EXPECT_EQ(p.f.gui.prompts.shown()[0].text, "a=16, b=0, c=1023");
    EXPECT_TRUE(p.dialog->state().recordingSingle) << "the box leaves the capture running";
    p.type({down(0xA0)});
    EXPECT_EQ(p.dialog->state().singleKey, 0xA0);
    ClickOn(*p.dialog, 88);
    EXPECT_EQ(p.dialog->result(), COrvoDialogKeyMapSettings::kResultOk)
        << "the click that stops it also ends";
    EXPECT_EQ(p.f.gui.doc.keyMode[static_cast<std::size_t>(Slot(30, 0))], kTypeSingle);
}

TEST(KeyCapture, KeysWhileTheSingleKeyBoxIsUpOpenNoSecondBox) {
    CapturePage p(1);
    ClickOn(*p.dialog, kRecordSingle);
    int boxes = 0;
    p.f.gui.prompts.onMessage([&](const ScriptedPrompts::Shown&) {
        ++boxes;
        // The box's nested loop takes the keys still arriving: a held key's repeats, another key.
        p.f.gui.hook.type(WM_KEYDOWN, 16);
        p.f.gui.hook.type(WM_KEYDOWN, 'B');
        QCoreApplication::sendPostedEvents(p.dialog.get());
    });
    p.type({down(16)});
    EXPECT_EQ(boxes, 1);
}

TEST(KeyCapture, RecordIsASwitchAndAnyOtherClickOnlyStopsTheCapture) {
    CapturePage p(2);
    const SkinItem& record = *p.dialog->element(kRecordMacro);
    ClickOn(*p.dialog, kRecordMacro);
    EXPECT_TRUE(p.dialog->state().recordingMacro);
    p.dialog->renderImage();
    EXPECT_TRUE(record.selected);
    EXPECT_FALSE(p.dialog->element(267)->shown) << "Record";
    EXPECT_TRUE(p.dialog->element(268)->shown) << "Stop Rec";
    EXPECT_TRUE(p.dialog->state().macroRecords.items.empty()) << "the old lines go, the options stay";

    ClickOn(*p.dialog, 92); // the Emulate tab: only stops
    EXPECT_FALSE(p.dialog->state().recordingMacro);
    EXPECT_FALSE(p.f.gui.hook.installed());
    EXPECT_EQ(p.dialog->page(), 2);
    p.dialog->renderImage();
    EXPECT_FALSE(record.selected);
    EXPECT_TRUE(p.dialog->element(267)->shown);

    // OK and Cancel during a macro capture only stop it; the next one ends the dialog.
    for (const int end : {88, 89}) {
        ClickOn(*p.dialog, kRecordMacro);
        ClickOn(*p.dialog, end);
        EXPECT_FALSE(p.f.gui.hook.installed());
        EXPECT_TRUE(p.dialog->isVisible());
    }
    ClickOn(*p.dialog, kRecordMacro);
    ClickOn(*p.dialog, 97); // the close box
    EXPECT_TRUE(p.dialog->isVisible());
    ClickOn(*p.dialog, 97);
    EXPECT_FALSE(p.dialog->isVisible());
    EXPECT_EQ(p.f.gui.hook.installs(), p.f.gui.hook.uninstalls());
}

TEST(KeyCapture, CapturesStartOnlyWhereTheirConditionHolds) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    auto dialog = f.open(30); // empty libraries, Single mode
    ClickOn(*dialog, kRecordCombo);
    ClickOn(*dialog, 91);
    ClickOn(*dialog, kRecordMacro);
    ClickOn(*dialog, 92);
    ClickOn(*dialog, kRecordEmulation);
    EXPECT_EQ(f.gui.hook.installs(), 0);
    EXPECT_FALSE(dialog->state().capturing());
}

TEST(KeyCapture, ARecordClickWithoutAnySourceSaysWhyAndChangesNothing) {
    for (const char* language : {"zh-CN", "en-US"}) {
        CapturePage p(2);
        p.f.gui.doc.uiLanguage = language;
        p.f.gui.hook.failInstalls({CaptureFailure::NoInputAccess, CaptureFailure::NoWindowKeys});
        ClickOn(*p.dialog, kRecordMacro);
        EXPECT_FALSE(p.dialog->state().capturing());
        EXPECT_FALSE(p.dialog->hookInstalled());
        p.dialog->renderImage();
        EXPECT_FALSE(p.dialog->element(kRecordMacro)->selected);
        EXPECT_EQ(p.dialog->state().macroRecords.items, Lines{"Z Down"}) << "the list is not emptied";
        ASSERT_EQ(p.f.gui.prompts.shown().size(), 1u);
        const ScriptedPrompts::Shown& box = p.f.gui.prompts.shown()[0];
        const bool chinese = std::string(language) == "zh-CN";
        EXPECT_TRUE(box.text.startsWith(chinese ? QStringLiteral("无法录制按键！\n")
                                                : QStringLiteral("Cannot record keys!\n")))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QStringLiteral("input"))) << box.text.toStdString();
        EXPECT_EQ(box.text.count(u'\n'), 2) << "one line per source";
        EXPECT_EQ(box.caption, QStringLiteral("Zarn"));
    }
}

// A key event of the dialog as xcb and Wayland deliver it: the scan code is the evdev code + 8.
void sendKey(QWidget* to, QEvent::Type type, int evdevCode, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, static_cast<quint32>(evdevCode + 8), 0, 0,
                    QString(), autoRepeat);
    QApplication::sendEvent(to, &event);
    // The hook's message is handled, and its time taken, before the next key.
    QCoreApplication::sendPostedEvents(to->window());
}

TEST(KeyCapture, TheDialogsOwnKeysBecomeTheSameLinesAndReachNoWidget) {
    KeySettingsFixture f;
    f.gui.doc.uiLanguage = "en-US";
    f.gui.doc.predefinedMacros = MakeLibrary({{"m", MakeList({"Z Down"})}});
    f.gui.context.desktop.windowKeysReadable = [] {
        return true;
    };
    f.gui.hook.readWindowKeys(true);
    auto dialog = f.open(30);
    ClickOn(*dialog, 91);
    QLineEdit* count = dialog->countEdit();
    const QString countBefore = count->text();
    ClickOn(*dialog, kRecordMacro);
    ASSERT_TRUE(dialog->state().recordingMacro);

    count->setFocus();
    sendKey(count, QEvent::KeyPress, KEY_5);
    f.gui.clock.advance(milliseconds(25));
    sendKey(count, QEvent::KeyPress, KEY_5, true); // a repeat of the held key moves the time base
    sendKey(count, QEvent::KeyRelease, KEY_5, true);
    f.gui.clock.advance(milliseconds(15));
    sendKey(count, QEvent::KeyRelease, KEY_5);
    sendKey(dialog.get(), QEvent::KeyPress, KEY_KPENTER);
    sendKey(dialog.get(), QEvent::KeyRelease, KEY_KPENTER);
    sendKey(dialog.get(), QEvent::KeyPress, KEY_ESC);
    QCoreApplication::sendPostedEvents(dialog.get());

    EXPECT_EQ(count->text(), countBefore) << "the edit saw none of the keys";
    EXPECT_TRUE(dialog->isVisible()) << "neither Enter nor Esc ended the dialog";
    const Lines expected = {"5 Down", "<15 ms>",    "5 UP",   "<0 ms>",  "(Enter) Down",
                            "<0 ms>", "(Enter) UP", "<0 ms>", "ESC Down"};
    EXPECT_EQ(dialog->state().macroRecords.items, expected);

    ClickOn(*dialog, kRecordMacro);
    EXPECT_FALSE(f.gui.hook.installed());
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("7"));
    EXPECT_EQ(count->text(), QStringLiteral("7")) << "after the stop the keys reach the edit again";
}

TEST(KeyCapture, AWindowThatCannotReadItsKeysStartsNoFeed) {
    KeySettingsFixture f;
    f.gui.doc.predefinedMacros = MakeLibrary({{"m", MakeList({"Z Down"})}});
    f.gui.context.desktop.windowKeysReadable = [] {
        return false;
    };
    f.gui.hook.readWindowKeys(true);
    auto dialog = f.open(30);
    ClickOn(*dialog, 91);
    ClickOn(*dialog, kRecordMacro);
    EXPECT_FALSE(dialog->state().recordingMacro);
    EXPECT_EQ(f.gui.prompts.shown().size(), 1u);
}

} // namespace
