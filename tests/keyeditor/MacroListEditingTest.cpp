#include "keyeditor/MacroListEditing.h"

#include "keyeditor/RecordListMenu.h"
#include "model/ConfigDocument.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

RecordList macro(const Lines& lines, bool automatic, int delay = 30) {
    RecordList list;
    list.sizeOfView = 9;
    for (const std::string& line : lines) {
        list.AppendItem(line);
    }
    list.viewStartAt = 0;
    list.cursorPos = 0;
    list.isAutoInterval = automatic;
    list.delay = delay;
    return list;
}

const ConfigDocument& catalogue() {
    static ConfigDocument doc;
    static const bool built = doc.BuildCatalogue();
    static_cast<void>(built);
    return doc;
}

enum class Edit { ToAutomatic, ToRecorded, Menu };

struct EditCase {
    const char* name;
    Lines before;
    bool automatic;
    Edit edit;
    int command; // menu command
    int row;     // right-clicked row
    Lines after;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

class MacroEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(MacroEditTest, GivesTheLinesAndTheirCount) {
    const EditCase& c = GetParam();
    RecordList list = macro(c.before, c.automatic);
    int added = 0;
    switch (c.edit) {
    case Edit::ToAutomatic:
        added = SwitchToAutomaticDelay(list);
        break;
    case Edit::ToRecorded:
        added = SwitchToRecordedDelays(list);
        break;
    case Edit::Menu:
        if (c.command == kRecordMenuDelete) {
            added = DeleteMacroStep(list, c.row);
        } else {
            const std::optional<MouseMenuAction> action = MouseActionOf(c.command);
            ASSERT_TRUE(action.has_value());
            added = InsertMouseEvents(list, c.row, catalogue().DeviceCodeName(action->deviceCode),
                                      action->events);
        }
        break;
    }
    EXPECT_EQ(list.items, c.after);
    EXPECT_EQ(added, static_cast<int>(c.after.size()) - static_cast<int>(c.before.size()));
    EXPECT_EQ(list.children.size(), list.items.size());
}

const Lines kRecorded = {"A Down", "<20 ms>", "A UP", "<50 ms>", "B Down"};

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroEditTest,
    ::testing::Values(
        EditCase{"recorded delays become the automatic delay: key lines stay",
                 kRecorded,
                 false,
                 Edit::ToAutomatic,
                 0,
                 0,
                 {"A Down", "A UP", "B Down"}},
        EditCase{"the automatic delay becomes recorded delays of the list's delay",
                 {"A Down", "A UP", "B Down"},
                 true,
                 Edit::ToRecorded,
                 0,
                 0,
                 {"A Down", "<30 ms>", "A UP", "<30 ms>", "B Down"}},
        EditCase{"choosing recorded delays again changes nothing", kRecorded, false, Edit::ToRecorded, 0, 0,
                 kRecorded},
        EditCase{"choosing the automatic delay again changes nothing",
                 {"A Down", "A UP"},
                 true,
                 Edit::ToAutomatic,
                 0,
                 0,
                 {"A Down", "A UP"}},
        EditCase{"left click before a delay line: delay, mouse, delay, mouse",
                 kRecorded,
                 false,
                 Edit::Menu,
                 1137,
                 1,
                 {"A Down", "<0 ms>", "Mouse Key Left", "<0 ms>", "Mouse Key Left", "<20 ms>", "A UP",
                  "<50 ms>", "B Down"}},
        EditCase{"right press before a key line: mouse, then its delay",
                 kRecorded,
                 false,
                 Edit::Menu,
                 1138,
                 2,
                 {"A Down", "<20 ms>", "Mouse Key Right", "<0 ms>", "A UP", "<50 ms>", "B Down"}},
        EditCase{"middle click with the automatic delay: two mouse lines, no delays",
                 {"A Down", "A UP"},
                 true,
                 Edit::Menu,
                 1143,
                 1,
                 {"A Down", "Mouse Key Middle", "Mouse Key Middle", "A UP"}},
        EditCase{"wheel down before the first line",
                 {"A Down", "A UP"},
                 true,
                 Edit::Menu,
                 1145,
                 0,
                 {"Mouse Wheel Dn", "A Down", "A UP"}},
        EditCase{"delete a key line takes its delay along",
                 kRecorded,
                 false,
                 Edit::Menu,
                 kRecordMenuDelete,
                 2,
                 {"A Down", "<20 ms>", "B Down"}},
        EditCase{"delete the last line takes the delay before it",
                 kRecorded,
                 false,
                 Edit::Menu,
                 kRecordMenuDelete,
                 4,
                 {"A Down", "<20 ms>", "A UP"}},
        EditCase{"delete with the automatic delay removes one line",
                 {"A Down", "A UP", "B Down"},
                 true,
                 Edit::Menu,
                 kRecordMenuDelete,
                 1,
                 {"A Down", "B Down"}},
        EditCase{"delete the only line", {"A Down"}, false, Edit::Menu, kRecordMenuDelete, 0, {}}));

TEST(MacroEdit, InsertionsBeyondTheLimitDropLinesFromTheEnd) {
    struct Limit {
        bool automatic;
        int lines;
    };
    for (const Limit limit : {Limit{false, kMaxRecordedMacroLines}, Limit{true, kMaxAutoMacroLines}}) {
        SCOPED_TRACE(limit.automatic ? "automatic delay" : "recorded delays");
        Lines lines;
        for (int i = 0; i < limit.lines; ++i) {
            lines.push_back(!limit.automatic && i % 2 == 1 ? DelayLine(i) : "K" + std::to_string(i));
        }
        RecordList list = macro(lines, limit.automatic);
        const int inserted = InsertMouseEvents(list, 0, "Mouse Key Left", 2);
        EXPECT_EQ(inserted, limit.automatic ? 2 : 4);
        EXPECT_EQ(TrimToLimit(list), -inserted);
        ASSERT_EQ(list.count(), limit.lines);
        EXPECT_EQ(list.items.front(), "Mouse Key Left");
        EXPECT_EQ(list.items.back(), lines[static_cast<std::size_t>(limit.lines - inserted - 1)]);
        EXPECT_LT(list.viewStartAt + list.cursorPos, list.count());
    }
}

TEST(MacroEdit, SwitchingDelayModeKeepsTheCursorOnAnEntry) {
    RecordList list = macro(kRecorded, false);
    list.cursorPos = 4;
    SwitchToAutomaticDelay(list);
    EXPECT_EQ(list.viewStartAt, 0);
    EXPECT_EQ(list.cursorPos, 2);
}

TEST(MacroEdit, DelayLinesAndNumbersAsTyped) {
    EXPECT_EQ(DelayLine(65535), "<65535 ms>");
    EXPECT_TRUE(IsDelayLine("<50 ms>"));
    EXPECT_FALSE(IsDelayLine("<> ms"));
    EXPECT_FALSE(IsDelayLine("A Down"));
    EXPECT_EQ(DelayLineNumber("<50 ms>"), "50");
    EXPECT_EQ(DelayLineNumber("<ms>"), "");
    const std::pair<const char*, int> numbers[] = {{"", 0},      {"0", 0},  {"300", 300},
                                                   {"12ab", 12}, {"x9", 0}, {"99999999999", INT_MAX}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(ReadDecimal(text), value) << text;
    }
}

} // namespace
