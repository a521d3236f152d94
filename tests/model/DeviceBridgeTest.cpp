#include "model/DeviceBridge.h"

#include "model/ConfigDocument.h"
#include "model/LayoutComparison.h"
#include "platform/HidTransport.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScriptedKeyboard.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Payload = ScriptedKeyboard::Payload;
using Answer = ScriptedKeyboard::Answer;

// Every test sees only the keyboards it makes, and a simulator's socket
// lands in a folder of the test's own.
class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv(kVirtualHidVariable);
        folder_ = std::filesystem::temp_directory_path() /
                  ("zarn-bridge-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_ / "run");
        std::filesystem::create_directories(folder_ / "state");
        std::filesystem::permissions(folder_ / "run", std::filesystem::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", (folder_ / "run").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (folder_ / "state").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv(kVirtualHidVariable);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static std::unique_ptr<ConfigDocument> document(int modelType) {
        auto doc = std::make_unique<ConfigDocument>();
        doc->BuildCatalogue();
        doc->modelType = modelType;
        doc->ResetToDefaults();
        return doc;
    }

    // Writes wait for no answer: a request answered on the same connection
    // shows that the keyboard has taken everything before it.
    static void settle(ConfigDocument& doc) {
        wchar_t version[kVersionTextLength] = {};
        EXPECT_TRUE(doc.device.ReadKeyboardVersion(version));
    }

    static std::unique_ptr<EmbeddedSimulator> simulator(const char* model) {
        EmbeddedSimulator::Options options;
        options.model = model;
        options.forgetful = true;
        options.notesToStderr = false;
        std::string error;
        auto sim = EmbeddedSimulator::start(options, &error);
        EXPECT_TRUE(sim) << error;
        return sim;
    }

    std::filesystem::path folder_;
};

std::size_t slot(int key, int layer) {
    return static_cast<std::size_t>(2 * key + layer);
}

void setList(ConfigDocument& doc, int key, int layer, int mode, std::vector<std::string> lines) {
    RecordList& list = doc.keyLists[slot(key, layer)];
    list.Clear();
    list.sizeOfView = 9;
    for (const std::string& line : lines) {
        list.SetItemText(10000, line);
    }
    doc.keyMode[slot(key, layer)] = mode;
    doc.keyCode[slot(key, layer)] = 0;
}

void setSingle(ConfigDocument& doc, int key, int layer, int mode, int code) {
    doc.keyMode[slot(key, layer)] = mode;
    doc.keyCode[slot(key, layer)] = code;
}

// One of every kind of assignment, on both layers.
void assignEveryKind(ConfigDocument& doc) {
    setSingle(doc, 2, 0, 1, 43);   // Single A
    setSingle(doc, 7, 0, 5, 110);  // Multimedia
    setSingle(doc, 8, 0, 6, 199);  // Mouse: left double click
    setSingle(doc, 9, 1, 6, 157);  // Mouse unit, a function code edited as mouse
    setSingle(doc, 10, 0, 7, 135); // Function
    setSingle(doc, 11, 0, 8, 76);  // Power
    setSingle(doc, 12, 0, 0, 0);   // Not set
    setList(doc, 3, 0, 2, {"LCTRL", "A"});
    setList(doc, 4, 1, 3, {"A Down", "<120 ms>", "A UP"});
    doc.keyLists[slot(4, 1)].cycles = 3;
    setList(doc, 5, 0, 3, {"B Down", "B UP"});
    doc.keyLists[slot(5, 0)].isAutoInterval = true;
    doc.keyLists[slot(5, 0)].delay = 50;
    doc.keyLists[slot(5, 0)].playMode = 1;
    doc.keyLists[slot(5, 0)].cycles = 7;
    setList(doc, 6, 0, 4, {"X", "Y"});
    doc.keyLists[slot(6, 0)].delay = 300;
    setList(doc, 13, 1, 3, {"C Down", "<5 ms>", "C UP", "<7 ms>"});
    doc.keyLists[slot(13, 1)].playMode = 2;
}

TEST_F(BridgeTest, EveryKindOfAssignmentSurvivesTheKeyboard) {
    const auto sim = simulator("ZarnRGB");
    ASSERT_TRUE(sim);
    auto written = document(4);
    assignEveryKind(*written);
    ASSERT_TRUE(written->device.__createDev());
    ASSERT_TRUE(WriteKeysToDevice(*written, WindowHandle()));
    settle(*written);
    written->device.__closeDev();

    auto read = document(4);
    for (RecordList& list : read->keyLists) {
        list.items.assign(1, "stale");
        list.children.resize(1);
    }
    ASSERT_TRUE(read->device.__createDev());
    ASSERT_TRUE(ReadKeysFromDevice(*read, WindowHandle()));

    for (int key = 1; key <= kKeyCount; ++key) {
        for (int layer = 0; layer <= 1; ++layer) {
            const std::size_t s = slot(key, layer);
            EXPECT_EQ(read->keyMode[s], written->keyMode[s]) << "key " << key << " layer " << layer;
            const int mode = written->keyMode[s];
            if (mode != 0 && mode != 2 && mode != 3 && mode != 4) {
                EXPECT_EQ(read->keyCode[s], written->keyCode[s]) << "key " << key << " layer " << layer;
            }
        }
    }

    const RecordList& combo = read->keyLists[slot(3, 0)];
    EXPECT_EQ(combo.items, (std::vector<std::string>{"LCTRL", "A"}));
    EXPECT_EQ(combo.children.size(), 2u);
    EXPECT_EQ(combo.sizeOfView, 6);

    // The press and release endings are not restored; the delays are.
    const RecordList& recorded = read->keyLists[slot(4, 1)];
    EXPECT_EQ(recorded.items, (std::vector<std::string>{"A", "<120 ms>", "A"}));
    EXPECT_EQ(recorded.cycles, 3);
    EXPECT_FALSE(recorded.isAutoInterval);
    EXPECT_EQ(recorded.sizeOfView, 9);

    const RecordList& automatic = read->keyLists[slot(5, 0)];
    EXPECT_EQ(automatic.items, (std::vector<std::string>{"B", "B"}));
    EXPECT_TRUE(automatic.isAutoInterval);
    EXPECT_EQ(automatic.delay, 50);
    EXPECT_EQ(automatic.playMode, 1);
    EXPECT_EQ(automatic.cycles, 0); // only play mode 0 sends its repeat count

    const RecordList& emulation = read->keyLists[slot(6, 0)];
    EXPECT_EQ(emulation.items, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(emulation.delay, 300);
    EXPECT_EQ(emulation.sizeOfView, 9);

    // A list ending in a delay line keeps only the delays between actions.
    EXPECT_EQ(read->keyLists[slot(13, 1)].items, (std::vector<std::string>{"C", "<5 ms>", "C"}));
    EXPECT_EQ(read->keyLists[slot(13, 1)].playMode, 2);

    // Single-code slots keep whatever list they had.
    EXPECT_EQ(read->keyLists[slot(2, 0)].items, (std::vector<std::string>{"stale"}));

    // Lists that read differently but send the same (endings, the delay after
    // the last step, a stale list under a single code) are no difference.
    EXPECT_TRUE(CompareLayouts(*written, *read, true).empty());
    setSingle(*read, 12, 0, 1, 43);
    read->keyColours[5] = {1, 2, 3};
    EXPECT_EQ(CompareLayouts(*written, *read, true),
              (std::vector<LayoutDifference>{{5, 0, true}, {12, 0, false}}));
    EXPECT_EQ(CompareLayouts(*written, *read, false), (std::vector<LayoutDifference>{{12, 0, false}}));
    read->uiLanguage = "en-US";
    EXPECT_EQ(LayerStatusText(*read, 3, 0), "Top layer Key: Combo LCTRL | A");
    EXPECT_EQ(LayerStatusText(*read, 12, 1), "Fn layer Key: Not set ");
    EXPECT_EQ(ColourText(*read, 5), "#010203");
}

TEST_F(BridgeTest, ColoursSurviveTheKeyboardAsBytes) {
    const auto sim = simulator("ZarnRGB.BT");
    ASSERT_TRUE(sim);
    auto written = document(1);
    for (int key = 1; key <= kKeyCount; ++key) {
        written->keyColours[static_cast<std::size_t>(key)] = {key, 255 - key, key * 2};
    }
    written->keyColours[50] = {300, 0, 7}; // only the low byte travels
    ASSERT_TRUE(written->device.__createDev());
    ASSERT_TRUE(WriteLightsToDevice(*written));
    settle(*written);
    written->device.__closeDev();

    auto read = document(1);
    read->keyColours[0] = {9, 9, 9};
    ASSERT_TRUE(read->device.__createDev());
    ASSERT_TRUE(ReadLightsFromDevice(*read));
    EXPECT_EQ(read->keyColours[1], (Rgb{1, 254, 2}));
    EXPECT_EQ(read->keyColours[103], (Rgb{103, 152, 206}));
    EXPECT_EQ(read->keyColours[50], (Rgb{44, 0, 7}));
    EXPECT_EQ(read->keyColours[0], (Rgb{9, 9, 9}));
}

// The payload the host sent for one key, or none.
const Payload* entryFor(const std::vector<Payload>& sent, int layer, int key) {
    for (const Payload& payload : sent) {
        if (payload[1] == 0xF0 && payload[2] == layer + 1 && payload[3] == key) {
            return &payload;
        }
    }
    return nullptr;
}

std::vector<int> bytes(const Payload& payload, std::size_t count) {
    return {payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST_F(BridgeTest, WritesTheExactDefinitions) {
    ScriptedKeyboard keyboard;
    auto doc = document(1);
    assignEveryKind(*doc);
    setList(*doc, 14, 0, 2, {"A", "no such key"});
    MessageRecorder progress;
    ASSERT_TRUE(doc->device.__createDev());
    ASSERT_TRUE(WriteKeysToDevice(*doc, progress.window()));
    ASSERT_TRUE(keyboard.waitForReceived(208, 2000));
    const std::vector<Payload> sent = keyboard.received();
    ASSERT_EQ(sent.size(), 208u);
    EXPECT_EQ(sent.front()[1], 0xF1);
    EXPECT_EQ(progress.wParams(UM_DEVICE_PROGRESS).size(), 206u);

    struct Case {
        int key, layer;
        std::vector<int> want;
    };
    const Case cases[] = {
        {2, 0, {0, 0xF0, 1, 2, 0, 1, 43}},
        {8, 0, {0, 0xF0, 1, 8, 0, 2, 0x82, 0x82}},
        {12, 0, {0, 0xF0, 1, 12, 0, 0, 0}},
        {3, 0, {0, 0xF0, 1, 3, 0, 2, 67, 43}},
        {14, 0, {0, 0xF0, 1, 14, 0, 2, 43, 0}},
        // Emulation: delay 300 as two bytes, then X and Y.
        {6, 0, {0, 0xF0, 1, 6, 1, 0x01, 0x2C, 2, 57, 34}},
        // Recorded delays: A with 120 ms, then A again with the last delay sent as 0.
        {4, 1, {0, 0xF0, 2, 4, 2, 3, 1, 0, 0, 0, 8, 43, 0xC8, 0, 120, 43, 0xC8, 0, 0, 0}},
        // Automatic interval, play mode 1: no repeat count, the fixed delay, one byte per action.
        {5, 0, {0, 0xF0, 1, 5, 3, 0, 0, 0, 50, 0, 2, 60, 60, 0}},
        // Factory Fn-layer code of model 1.
        {11, 1, {0, 0xF0, 2, 11, 0, 1, 135}},
    };
    for (const Case& c : cases) {
        const Payload* entry = entryFor(sent, c.layer, c.key);
        ASSERT_NE(entry, nullptr) << "key " << c.key << " layer " << c.layer;
        EXPECT_EQ(bytes(*entry, c.want.size()), c.want) << "key " << c.key << " layer " << c.layer;
    }
}

struct ReadCase {
    const char* what;
    Payload entry;
    int key, layer;
    int mode;
    int code; // -1: keyCode keeps its earlier value
    std::vector<std::string> lines;
    int sizeOfView, cycles, delay, playMode;
    bool isAutoInterval;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

// Entries as a keyboard sends them, read without our own simulator in the
// way, so that a misunderstanding shared by writer and reader shows.
const ReadCase kReadCases[] = {
    {"multimedia code",
     ScriptedKeyboard::payload({0, 0xF0, 1, 1, 0, 1, 110}),
     1,
     0,
     5,
     110,
     {},
     0,
     1,
     30,
     0,
     false},
    {"mouse-unit code",
     ScriptedKeyboard::payload({0, 0xF0, 1, 2, 0, 1, 157}),
     2,
     0,
     6,
     157,
     {},
     0,
     1,
     30,
     0,
     false},
    {"power code", ScriptedKeyboard::payload({0, 0xF0, 1, 3, 0, 1, 76}), 3, 0, 8, 76, {}, 0, 1, 30, 0, false},
    {"key code", ScriptedKeyboard::payload({0, 0xF0, 1, 4, 0, 1, 60}), 4, 0, 1, 60, {}, 0, 1, 30, 0, false},
    {"left double click",
     ScriptedKeyboard::payload({0, 0xF0, 1, 5, 0, 2, 0x82, 0x82}),
     5,
     0,
     6,
     199,
     {},
     0,
     1,
     30,
     0,
     false},
    {"combo",
     ScriptedKeyboard::payload({0, 0xF0, 1, 6, 0, 2, 67, 43}),
     6,
     0,
     2,
     -1,
     {"LCTRL", "A"},
     6,
     1,
     30,
     0,
     false},
    {"emulation",
     ScriptedKeyboard::payload({0, 0xF0, 1, 7, 1, 0x01, 0x2C, 1, 43}),
     7,
     0,
     4,
     -1,
     {"A"},
     9,
     1,
     300,
     0,
     false},
    {"macro with recorded delays",
     ScriptedKeyboard::payload({0, 0xF0, 1, 8, 3, 0, 1, 0, 0, 0, 8, 43, 0xC8, 0, 120, 44, 0xC8, 0x12, 0x34}),
     8,
     0,
     3,
     -1,
     {"A", "<120 ms>", "S"},
     9,
     0,
     0,
     1,
     false},
    {"macro with a fixed delay",
     ScriptedKeyboard::payload({0, 0xF0, 2, 9, 4, 5, 0, 0, 50, 0, 2, 43, 44}),
     9,
     1,
     3,
     -1,
     {"A", "S"},
     9,
     5,
     50,
     2,
     true},
    {"continuous without codes",
     ScriptedKeyboard::payload({0, 0xF0, 2, 10, 1}),
     10,
     1,
     0,
     -1,
     {},
     0,
     1,
     30,
     0,
     false},
    {"empty entry", ScriptedKeyboard::payload({0, 0xF0, 2, 11, 0, 0}), 11, 1, 0, -1, {}, 0, 1, 30, 0, false},
};

class KeyReadTest : public BridgeTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(KeyReadTest, TurnsAKeyboardEntryIntoAnAssignment) {
    const ReadCase& c = GetParam();
    ScriptedKeyboard keyboard([&](const Payload& request) {
        Payload end{};
        end.fill(0xF6);
        return request[1] == 0xF2 ? Answer{{c.entry, end}, Answer::Then::Listen, {}} : Answer{};
    });
    auto doc = document(1);
    const std::size_t s = slot(c.key, c.layer);
    doc->keyCode[s] = 1234;
    MessageRecorder progress;
    ASSERT_TRUE(doc->device.__createDev());
    ASSERT_TRUE(ReadKeysFromDevice(*doc, progress.window()));
    EXPECT_EQ(progress.wParams(UM_DEVICE_PROGRESS),
              (std::vector<WPARAM>{static_cast<WPARAM>(103 * c.layer + c.key - 1)}));
    EXPECT_EQ(doc->keyMode[s], c.mode);
    EXPECT_EQ(doc->keyCode[s], c.code < 0 ? 1234 : c.code);
    const RecordList& list = doc->keyLists[s];
    EXPECT_EQ(list.items, c.lines);
    if (!c.lines.empty()) {
        EXPECT_EQ(list.children.size(), c.lines.size());
        EXPECT_EQ(list.sizeOfView, c.sizeOfView);
        EXPECT_EQ(list.viewStartAt, 0);
        EXPECT_EQ(list.cursorPos, 0);
        EXPECT_EQ(list.cycles, c.cycles);
        EXPECT_EQ(list.delay, c.delay);
        EXPECT_EQ(list.playMode, c.playMode);
        EXPECT_EQ(list.isAutoInterval, c.isAutoInterval);
    }
    // Keys the keyboard did not report come back as the library held them: empty.
    EXPECT_EQ(doc->keyMode[slot(72, 0)], 0);
}

INSTANTIATE_TEST_SUITE_P(Bridge, KeyReadTest, ::testing::ValuesIn(kReadCases));

TEST_F(BridgeTest, ADefinitionTheLibraryRefusesSendsNothing) {
    ScriptedKeyboard keyboard;
    auto doc = document(1);
    setList(*doc, 4, 0, 3, {"A Down"});
    doc->keyLists[slot(4, 0)].playMode = 5;
    ASSERT_TRUE(doc->device.__createDev());
    EXPECT_FALSE(WriteKeysToDevice(*doc, WindowHandle()));
    EXPECT_FALSE(keyboard.waitForReceived(1, 300));
}

TEST_F(BridgeTest, WritesReportAKeyboardThatWentAway) {
    auto keyboard = std::make_unique<ScriptedKeyboard>();
    auto doc = document(1);
    ASSERT_TRUE(doc->device.__createDev());
    keyboard.reset();
    EXPECT_FALSE(WriteKeysToDevice(*doc, WindowHandle()));
    EXPECT_FALSE(WriteLightsToDevice(*doc));
}

TEST_F(BridgeTest, WithoutAnOpenKeyboardNothingSucceedsOrChanges) {
    auto doc = document(2);
    const auto modes = doc->keyMode;
    EXPECT_FALSE(WriteKeysToDevice(*doc, WindowHandle()));
    EXPECT_FALSE(ReadKeysFromDevice(*doc, WindowHandle()));
    EXPECT_FALSE(WriteLightsToDevice(*doc));
    EXPECT_FALSE(ReadLightsFromDevice(*doc));
    EXPECT_FALSE(ReadCountersFromDevice(*doc));
    EXPECT_EQ(doc->keyMode, modes);
    EXPECT_LT(doc->keyCounters[1], 0);
}

// Answers the request `command` with `replies`, then hangs up: the mirror
// takes the part that arrived, the transfer fails.
ScriptedKeyboard::Script partialAnswer(std::uint8_t command, std::vector<Payload> replies) {
    return [command, replies](const Payload& request) {
        if (request[1] != command) {
            return Answer{};
        }
        return Answer{replies, Answer::Then::HangUp, {}};
    };
}

TEST_F(BridgeTest, AFailedKeyReadLeavesTheDocumentAsItWas) {
    ScriptedKeyboard keyboard(partialAnswer(0xF2, {ScriptedKeyboard::payload({0x00, 0xF0, 1, 5, 0, 1, 43})}));
    auto doc = document(1);
    setList(*doc, 5, 0, 2, {"LCTRL", "B"});
    const auto modes = doc->keyMode;
    const auto codes = doc->keyCode;
    const auto lists = doc->keyLists[slot(5, 0)].items;
    ASSERT_TRUE(doc->device.__createDev());
    EXPECT_FALSE(ReadKeysFromDevice(*doc, WindowHandle()));
    EXPECT_EQ(doc->keyMode, modes);
    EXPECT_EQ(doc->keyCode, codes);
    EXPECT_EQ(doc->keyLists[slot(5, 0)].items, lists);
}

TEST_F(BridgeTest, AFailedColourReadLeavesTheColours) {
    Payload chunk = ScriptedKeyboard::payload({0x00, 0xE0, 61});
    std::fill(chunk.begin() + 3, chunk.end(), 0xFF);
    ScriptedKeyboard keyboard(partialAnswer(0xE2, {chunk}));
    auto doc = document(1);
    doc->keyColours[1] = {1, 2, 3};
    ASSERT_TRUE(doc->device.__createDev());
    EXPECT_FALSE(ReadLightsFromDevice(*doc));
    EXPECT_EQ(doc->keyColours[1], (Rgb{1, 2, 3}));
    EXPECT_EQ(doc->keyColours[2], (Rgb{0, 0, 0}));
}

TEST_F(BridgeTest, AFailedCounterReadLeavesTheCounters) {
    Payload chunk = ScriptedKeyboard::payload({0x00, 0xE3, 61, 9, 0, 0, 0});
    ScriptedKeyboard keyboard(partialAnswer(0xE3, {chunk}));
    auto doc = document(1);
    ASSERT_TRUE(doc->device.__createDev());
    EXPECT_FALSE(ReadCountersFromDevice(*doc));
    EXPECT_LT(doc->keyCounters[1], 0);
    EXPECT_EQ(doc->highestKey, -1);
    EXPECT_EQ(doc->lowestKey, -1);
}

// The counter area as the keyboard sends it: 103 little-endian 32-bit
// counters in chunks of 61 bytes, then the end report.
std::vector<Payload> counterReplies(const std::vector<std::pair<int, std::uint32_t>>& counts) {
    std::vector<std::uint8_t> area(4 * kKeyCount, 0);
    for (const auto& [key, count] : counts) {
        for (int b = 0; b < 4; ++b) {
            area[static_cast<std::size_t>(4 * (key - 1) + b)] = static_cast<std::uint8_t>(count >> (8 * b));
        }
    }
    std::vector<Payload> replies;
    for (std::size_t offset = 0; offset < area.size(); offset += 61) {
        const std::size_t count = std::min<std::size_t>(61, area.size() - offset);
        Payload chunk = ScriptedKeyboard::payload({0x00, 0xE3, static_cast<std::uint8_t>(count)});
        std::copy(area.begin() + static_cast<std::ptrdiff_t>(offset),
                  area.begin() + static_cast<std::ptrdiff_t>(offset + count), chunk.begin() + 3);
        replies.push_back(chunk);
    }
    Payload end{};
    end.fill(0xE6);
    replies.push_back(end);
    return replies;
}

struct CounterCase {
    const char* what;
    std::vector<std::pair<int, std::uint32_t>> counts;
    int highest;
    int lowest;
};

void PrintTo(const CounterCase& c, std::ostream* os) {
    *os << c.what;
}

class CounterTest : public BridgeTest, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(CounterTest, FindsTheMostAndLeastUsedKey) {
    const CounterCase& c = GetParam();
    ScriptedKeyboard keyboard([&](const Payload& request) {
        return request[1] == 0xE3 ? Answer{counterReplies(c.counts), Answer::Then::Listen, {}} : Answer{};
    });
    auto doc = document(1);
    ASSERT_TRUE(doc->device.__createDev());
    ASSERT_TRUE(ReadCountersFromDevice(*doc));
    EXPECT_EQ(doc->highestKey, c.highest);
    EXPECT_EQ(doc->lowestKey, c.lowest);
    for (const auto& [key, count] : c.counts) {
        EXPECT_EQ(doc->keyCounters[static_cast<std::size_t>(key)], static_cast<std::int64_t>(count));
    }
    EXPECT_LT(doc->keyCounters[0], 0); // key 0 is never read
}

INSTANTIATE_TEST_SUITE_P(
    Bridge, CounterTest,
    ::testing::Values(CounterCase{"all zero", {}, -1, -1},
                      CounterCase{"ties keep the earlier key", {{1, 5}, {2, 3}, {9, 3}}, 1, 2},
                      CounterCase{"only late keys pressed", {{50, 2}, {103, 9}}, 103, 50},
                      CounterCase{"one key", {{77, 1}}, 77, 77},
                      CounterCase{"equal maxima", {{4, 8}, {3, 8}}, 3, 3},
                      // The keyboard counts in unsigned 32 bits: these are the largest, not "not read".
                      CounterCase{
                          "counts past the signed range", {{2, 0xFFFFFFFF}, {3, 0x80000000}, {4, 1}}, 2, 4}));

} // namespace
