#include "model/KeyAssignment.h"

#include "app/elements/KeySettingsElements.h"
#include "model/AssignmentVocabulary.h"
#include "model/ChoiceNames.h"
#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"
#include "model/ListLimits.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<ConfigDocument> document(int modelType = 3) {
    auto doc = std::make_unique<ConfigDocument>();
    doc->BuildCatalogue();
    doc->uiLanguage = "en-US";
    doc->modelType = modelType;
    doc->ResetToDefaults();
    return doc;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& part : texts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

// One request against the dialog's rules: what it becomes, or the refusal.
struct RuleCase {
    const char* what;
    AssignmentRequest request;
    int code = 0;                     // code types
    std::vector<std::string> lines{}; // list types
    const char* refusal = nullptr;    // a part of the error
    const char* note = nullptr;       // a part of the notes
};

AssignmentRequest ask(int type, std::vector<std::string> values) {
    AssignmentRequest request;
    request.type = type;
    request.values = std::move(values);
    return request;
}

template <typename Change>
AssignmentRequest ask(int type, std::vector<std::string> values, Change change) {
    AssignmentRequest request = ask(type, std::move(values));
    change(request);
    return request;
}

std::vector<std::string> macroLines(int count, bool delays) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(delays && i % 2 == 1 ? "<10 ms>" : "A");
    }
    return lines;
}

TEST(KeyAssignment, RequestsFollowTheDialogsRules) {
    const auto doc = document();
    const AssignmentVocabulary words(*doc);
    const RuleCase cases[] = {
        {"single by catalogue name", ask(kTypeSingle, {"A"}), 43},
        {"single by label, any case", ask(kTypeSingle, {"caps lock"}), 42},
        {"single bare doubled label is the left key", ask(kTypeSingle, {"Ctrl"}), 67},
        {"single by side", ask(kTypeSingle, {"Right Ctrl"}), 74},
        {"single without a name", ask(kTypeSingle, {"#200"}), 200},
        {"single refuses another type's name",
         ask(kTypeSingle, {"Mute"}),
         0,
         {},
         "'Mute' is not a Single name"},
        {"multimedia by tip, in words", ask(kTypeMultimedia, {"Volume", "Up"}), 113},
        {"multimedia by catalogue name", ask(kTypeMultimedia, {"VolumeUp"}), 113},
        {"multimedia in Chinese", ask(kTypeMultimedia, {"静音"}), 112},
        {"multimedia slip", ask(kTypeMultimedia, {"Mutte"}), 0, {}, "close names: Mute"},
        {"mouse double click", ask(kTypeMouse, {"Left Double Click"}), 199},
        {"mouse caption with its typo", ask(kTypeMouse, {"Uint Pixel"}), 157},
        {"function FN", ask(kTypeFunction, {"FN"}), kFnCode},
        {"function by a code outside the page", ask(kTypeFunction, {"Sunset or Relax/Aurora"}), 146},
        {"function name two codes share", ask(kTypeFunction, {"Reserved"}), 0, {}, "#149, #166"},
        {"function refuses a key code", ask(kTypeFunction, {"#43"}), 0, {}, "'#43' is not a Function name"},
        {"power caption", ask(kTypePower, {"Wake"}), 75},
        {"power without its catalogue name", ask(kTypePower, {"Power"}), 77},
        {"power lists its few names",
         ask(kTypePower, {"xyz"}),
         0,
         {},
         "the names are: Wake Up, Sleep, Power"},
        {"code type needs a name", ask(kTypePower, {}), 0, {}, "power needs a name"},

        {"combo joined by +", ask(kTypeCombo, {"Ctrl+C"}), 0, {"LCTRL", "C"}},
        {"combo keeps the + key", ask(kTypeCombo, {"Ctrl++"}), 0, {"LCTRL", "="}},
        {"combo of names holding +", ask(kTypeCombo, {"KP+", "(+)"}), 0, {"(+)", "(+)"}},
        {"combo of six", ask(kTypeCombo, {"A", "B", "C", "D", "E", "F"}), 0, {"A", "B", "C", "D", "E", "F"}},
        {"combo of seven", ask(kTypeCombo, {"A+B+C+D+E+F+G"}), 0, {}, "at most 6 keys, not 7"},
        {"combo slip", ask(kTypeCombo, {"Ctrl+Dell"}), 0, {}, "'Dell' is not a key name; close names: DEL"},
        {"combo of nothing", ask(kTypeCombo, {}), 0, {}, "at least one key"},
        {"combo name sent as another code", ask(kTypeCombo, {"Sleep"}), 0, {}, "'Sleep' is not a key name"},
        {"combo takes no delay",
         ask(kTypeCombo, {"A"}, [](auto& r) { r.delay = 5; }),
         0,
         {},
         "--delay is for"},

        {"emulation delay clamped",
         ask(kTypeEmulation, {"A", "B"}, [](auto& r) { r.delay = 7000; }),
         0,
         {"A", "B"},
         nullptr,
         "delay 7000 is kept as 6000"},
        {"emulation of seven", ask(kTypeEmulation, {"A", "B", "C", "D", "E", "F", "G"}), 0, {}, "at most 6"},

        {"macro with recorded delays",
         ask(kTypeMacro, {"A Down", "<50 ms>", "a up"}),
         0,
         {"A Down", "<50 ms>", "A UP"}},
        {"macro name that ends like a direction",
         ask(kTypeMacro, {"Mouse Down", "<0 ms>", "mouse key left down"}),
         0,
         {"Mouse Down", "<0 ms>", "Mouse Key Left Down"}},
        {"macro delay line clamped",
         ask(kTypeMacro, {"A", "<70000 ms>"}),
         0,
         {"A", "<65535 ms>"},
         nullptr,
         "delay line 70000 is kept as 65535"},
        {"macro lines out of turn", ask(kTypeMacro, {"A Down", "A UP"}), 0, {}, "must be a delay line"},
        {"macro starting with a delay",
         ask(kTypeMacro, {"<5 ms>", "A"}),
         0,
         {},
         "every other one are key lines"},
        {"macro with the automatic delay has no delay lines",
         ask(kTypeMacro, {"A", "<5 ms>"}, [](auto& r) { r.delay = 10; }),
         0,
         {},
         "has no delay lines"},
        {"macro automatic delay clamped",
         ask(kTypeMacro, {"A", "B"}, [](auto& r) { r.delay = 70000; }),
         0,
         {"A", "B"},
         nullptr,
         "delay 70000 is kept as 60000"},
        {"macro cycles clamped up",
         ask(kTypeMacro, {"A"}, [](auto& r) { r.cycles = 0; }),
         0,
         {"A"},
         nullptr,
         "cycles 0 is kept as 1"},
        {"macro cycles clamped down",
         ask(kTypeMacro, {"A"}, [](auto& r) { r.cycles = 300; }),
         0,
         {"A"},
         nullptr,
         "cycles 300 is kept as 255"},
        {"macro unknown play mode",
         ask(kTypeMacro, {"A"}, [](auto& r) { r.playMode = "3"; }),
         0,
         {},
         "is not a play mode"},
        {"macro of 799 recorded lines", ask(kTypeMacro, macroLines(799, true)), 0, macroLines(799, true)},
        {"macro of 800 recorded lines", ask(kTypeMacro, macroLines(800, true)), 0, {}, "at most 799 lines"},
        {"macro of 1600 automatic lines",
         ask(kTypeMacro, macroLines(1600, false), [](auto& r) { r.delay = 30; }), 0, macroLines(1600, false)},
        {"macro of 1601 automatic lines",
         ask(kTypeMacro, macroLines(1601, false), [](auto& r) { r.delay = 30; }),
         0,
         {},
         "at most 1600 lines"},

        {"clear", ask(kTypeNotSet, {})},
        {"clear takes no names", ask(kTypeNotSet, {"A"}), 0, {}, "clear takes no names"},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        const AssignmentOutcome outcome = BuildAssignment(words, c.request);
        if (c.refusal != nullptr) {
            EXPECT_FALSE(outcome.assignment);
            EXPECT_NE(outcome.error.find(c.refusal), std::string::npos) << outcome.error;
            continue;
        }
        ASSERT_TRUE(outcome.assignment) << outcome.error;
        EXPECT_EQ(outcome.assignment->type, c.request.type);
        EXPECT_EQ(outcome.assignment->code, c.code);
        EXPECT_EQ(outcome.assignment->list.items, c.lines);
        EXPECT_EQ(outcome.assignment->list.children.size(), c.lines.size());
        if (c.note != nullptr) {
            EXPECT_NE(joined(outcome.notes).find(c.note), std::string::npos) << joined(outcome.notes);
        } else {
            EXPECT_TRUE(outcome.notes.empty()) << joined(outcome.notes);
        }
    }
}

TEST(KeyAssignment, MacroOptionsAndPlayModesByName) {
    const auto doc = document();
    const AssignmentVocabulary words(*doc);
    AssignmentRequest request = ask(kTypeMacro, {"A", "B"});
    request.delay = 45;
    request.cycles = 3;
    request.playMode = "press play, release stop";
    const AssignmentOutcome automatic = BuildAssignment(words, request);
    ASSERT_TRUE(automatic.assignment) << automatic.error;
    const RecordList& list = automatic.assignment->list;
    EXPECT_TRUE(list.isAutoInterval);
    EXPECT_EQ(list.delay, 45);
    EXPECT_EQ(list.cycles, 3);
    EXPECT_EQ(list.playMode, 1);
    EXPECT_EQ(list.sizeOfView, 9);

    // What a read from the keyboard or show --json says of the mode wins
    // over the presence of a delay.
    request.values = {"A", "<5 ms>", "B"};
    request.autoDelay = false;
    const AssignmentOutcome recorded = BuildAssignment(words, request);
    ASSERT_TRUE(recorded.assignment) << recorded.error;
    EXPECT_FALSE(recorded.assignment->list.isAutoInterval);
    EXPECT_EQ(recorded.assignment->list.delay, 45);
    EXPECT_EQ(PlayModeOfName("按键开/关播放"), 2);
    EXPECT_EQ(PlayModeOfName("Times Play"), 0);
}

TEST(KeyAssignment, TypesByWordAndByTheNameTheProgramShows) {
    EXPECT_EQ(AssignmentTypeOfName("combo"), kTypeCombo);
    EXPECT_EQ(AssignmentTypeOfName("Emulation"), kTypeEmulation);
    EXPECT_EQ(AssignmentTypeOfName("Not set"), kTypeNotSet);
    EXPECT_EQ(AssignmentTypeOfName("clear"), kTypeNotSet);
    EXPECT_EQ(AssignmentTypeOfName("keyboard"), -1);
}

// OK writes the slot whole, and FN chosen on either layer sets both.
TEST(KeyAssignment, StoringWritesTheWholeSlotAndFnSetsBothLayers) {
    const auto doc = document();
    const AssignmentVocabulary words(*doc);
    StoreAssignment(*doc, 43, 0, *BuildAssignment(words, ask(kTypeCombo, {"Ctrl+C"})).assignment);
    EXPECT_EQ(doc->keyMode[86], kTypeCombo);
    EXPECT_EQ(doc->keyCode[86], 0);
    EXPECT_EQ(doc->DescribeAssignment(43, 0), "LCTRL | C");

    StoreAssignment(*doc, 43, 0, *BuildAssignment(words, ask(kTypeSingle, {"B"})).assignment);
    EXPECT_EQ(doc->keyMode[86], kTypeSingle);
    EXPECT_EQ(doc->keyCode[86], 60);
    EXPECT_TRUE(doc->keyLists[86].items.empty()) << "the combo's list does not linger";

    StoreAssignment(*doc, 42, 1, *BuildAssignment(words, ask(kTypeFunction, {"FN"})).assignment);
    for (const std::size_t slot : {84u, 85u}) {
        EXPECT_EQ(doc->keyMode[slot], kTypeFunction) << slot;
        EXPECT_EQ(doc->keyCode[slot], kFnCode) << slot;
    }
    StoreAssignment(*doc, 42, 0, *BuildAssignment(words, ask(kTypeNotSet, {})).assignment);
    EXPECT_EQ(doc->keyMode[84], kTypeNotSet);
    EXPECT_EQ(doc->keyCode[84], 0);
    EXPECT_EQ(doc->keyMode[85], kTypeFunction) << "only FN chosen sets the other layer";
}

TEST(AssignmentVocabulary, KeysByLabelSideCountAndNumber) {
    const auto doc = document();
    const AssignmentVocabulary words(*doc);
    const std::pair<const char*, int> found[] = {
        {"A", 43},          {"caps lock", 42},   {"CapsLock", 42}, {"KP/", 87},        {"\\", 41},
        {"Left Shift", 55}, {"right shift", 66}, {"Shift#2", 66},  {"Right Ctrl", 73}, {"Alt#2", 71},
        {"1", 15},          {"0", 24},           {"#1", 1},        {"43", 43},         {"103", 103},
    };
    for (const auto& [text, key] : found) {
        EXPECT_EQ(words.key(text).value, key) << text;
    }
    const NameMatch doubled = words.key("Shift");
    EXPECT_TRUE(doubled.ambiguous);
    EXPECT_EQ(doubled.alternatives,
              (std::vector<std::string>{"Left Shift (key 55)", "Right Shift (key 66)"}));
    const NameMatch slip = words.key("Ctl");
    EXPECT_FALSE(slip);
    EXPECT_EQ(slip.alternatives, (std::vector<std::string>{"Left Ctrl (key 67)", "Right Ctrl (key 73)"}));
    for (const char* refused : {"#0", "#104", "104", "Key"}) {
        EXPECT_FALSE(words.key(refused)) << refused;
    }
    // Every key has a name that gives it back.
    for (int key = 1; key <= kKeyCount; ++key) {
        EXPECT_EQ(words.key(words.keyName(key)).value, key) << key;
    }
}

// What show --json writes must be what set takes back, for every code a
// key may hold and every line a list may hold.
TEST(AssignmentVocabulary, EveryNameItGivesItTakesBack) {
    const auto doc = document();
    const AssignmentVocabulary words(*doc);
    for (const int type : {kTypeSingle, kTypeMultimedia, kTypeMouse, kTypeFunction, kTypePower}) {
        for (int code = 1; code <= 0xFF; ++code) {
            if (const NameMatch match = words.code(type, "#" + std::to_string(code)); match) {
                EXPECT_EQ(words.code(type, words.codeName(type, code)).value, code)
                    << type << " " << code << " " << words.codeName(type, code);
            }
        }
    }
    for (int code = 1; code <= 0xFF; ++code) {
        const std::string line = words.lineOf(code);
        if (!words.listKey(line)) {
            continue;
        }
        EXPECT_EQ(words.listKey(line).value, code) << line;
        for (const char* ending : {"", " Down", " UP"}) {
            EXPECT_EQ(doc->ParseRecordLine(line + ending), code) << line << ending;
        }
    }
}

// The names of the choice pages are the dialog's own tips and captions.
TEST(ChoiceNames, AreTheKeySettingsDialogsTipsAndCaptions) {
    const auto has = [](int code, const std::string& zh, const std::string& en) {
        for (const ChoiceName& name : ChoiceNames()) {
            if (name.code == code && zh == name.zh && en == name.en) {
                return true;
            }
        }
        return false;
    };
    std::size_t buttons = 0;
    const auto elements = KeySettingsElements();
    for (const SkinItem& item : elements) {
        const int page = item.id / 100;
        if (item.isLabel == 0 && item.code > 0 && page >= 4 && page <= 7) {
            ++buttons;
            if (page == 5) {
                continue; // captioned by labels, below
            }
            EXPECT_TRUE(has(item.code, item.tips.at("zh-CN"), item.tips.at("en-US"))) << item.id;
        }
        if (item.isLabel != 0 && (page == 5 || page == 7) && item.id % 100 > 50) {
            const int button = item.id - 50;
            for (const SkinItem& other : elements) {
                if (other.id == button && other.isLabel == 0) {
                    EXPECT_TRUE(has(other.code, item.captions.at("zh-CN"), item.captions.at("en-US")))
                        << item.id;
                }
            }
        }
    }
    EXPECT_EQ(buttons, 18u + 13u + 36u + 3u);
}

} // namespace
