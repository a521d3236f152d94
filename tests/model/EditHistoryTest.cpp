#include "model/EditHistory.h"
#include "tests/support/SampleMacro.h"
#include "tests/support/UserPart.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Edit {
    const char* name;
    std::function<void(ConfigDocument&)> apply;
};

struct HistoryTest : ::testing::Test {
    HistoryTest() {
        doc.BuildCatalogue();
        doc.modelType = 3;
        doc.ResetToDefaults();
        history.reset(doc);
    }
    ConfigDocument doc;
    EditHistory history;
};

// Every part of what the user edits, one edit each; after every undo and redo
// the whole document is compared.
TEST_F(HistoryTest, UndoAndRedoBringBackEveryPartAsItWas) {
    const std::vector<Edit> edits = {
        {"combo library",
         [](ConfigDocument& d) {
             AddToLibrary(d.predefinedCombos, SampleMacro(2));
         }},
        {"macro library",
         [](ConfigDocument& d) {
             AddToLibrary(d.predefinedMacros, SampleMacro(5));
         }},
        {"emulation library",
         [](ConfigDocument& d) {
             AddToLibrary(d.predefinedEmulations, SampleMacro(3));
         }},
        {"colour",
         [](ConfigDocument& d) {
             d.keyColours[43] = {255, 0, 128};
         }},
        {"type and code",
         [](ConfigDocument& d) {
             d.keyMode[86] = kTypeMultimedia;
             d.keyCode[86] = 112;
         }},
        {"list",
         [](ConfigDocument& d) {
             d.keyMode[87] = kTypeMacro;
             d.keyLists[87] = SampleMacro(7);
         }},
        {"list view only",
         [](ConfigDocument& d) {
             d.keyLists[87].SelectIndex(0);
         }},
        {"reset",
         [](ConfigDocument& d) {
             d.ResetToDefaults();
         }},
    };
    std::vector<UserPart> states{UserPartOf(doc)};
    for (const Edit& edit : edits) {
        edit.apply(doc);
        ASSERT_TRUE(history.record(doc)) << edit.name;
        ASSERT_FALSE(states.back() == UserPartOf(doc)) << edit.name << " changed nothing";
        states.push_back(UserPartOf(doc));
    }
    EXPECT_FALSE(history.record(doc)); // nothing new

    for (std::size_t i = states.size() - 1; i-- > 0;) {
        ASSERT_TRUE(history.undo(doc));
        EXPECT_TRUE(UserPartOf(doc) == states[i]) << "undo of " << edits[i].name;
    }
    EXPECT_FALSE(history.undo(doc));
    EXPECT_TRUE(UserPartOf(doc) == states.front());

    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo(doc));
        EXPECT_TRUE(UserPartOf(doc) == states[i]) << "redo of " << edits[i - 1].name;
    }
    EXPECT_FALSE(history.redo(doc));
}

TEST_F(HistoryTest, ANewEditDropsWhatCouldBeRedone) {
    doc.keyColours[1] = {1, 2, 3};
    history.record(doc);
    doc.keyColours[2] = {4, 5, 6};
    history.record(doc);
    history.undo(doc);
    ASSERT_EQ(history.redoSteps(), 1u);

    doc.keyColours[3] = {7, 8, 9};
    EXPECT_TRUE(history.record(doc));
    EXPECT_EQ(history.redoSteps(), 0u);
    EXPECT_FALSE(history.redo(doc));
    EXPECT_EQ(doc.keyColours[2], (Rgb{0, 0, 0}));
    EXPECT_EQ(doc.keyColours[3], (Rgb{7, 8, 9}));
}

// A change nobody recorded (a transfer ending late) is a step of its own:
// undo takes it back first, and the redo it came after is gone.
TEST_F(HistoryTest, AChangeNotYetRecordedIsUndoneFirst) {
    doc.keyColours[1] = {1, 1, 1};
    history.record(doc);
    history.undo(doc);
    doc.keyMode[10] = kTypeNotSet;
    ASSERT_TRUE(history.undo(doc));
    EXPECT_NE(doc.keyMode[10], kTypeNotSet);
    ASSERT_TRUE(history.redo(doc));
    EXPECT_EQ(doc.keyMode[10], kTypeNotSet);
    EXPECT_FALSE(history.redo(doc));
    EXPECT_EQ(doc.keyColours[1], (Rgb{0, 0, 0}));
}

TEST_F(HistoryTest, KeepsTheLast100Steps) {
    for (int step = 1; step <= 101; ++step) {
        doc.keyColours[1] = {step, 0, 0};
        ASSERT_TRUE(history.record(doc));
    }
    EXPECT_EQ(history.undoSteps(), 100u);
    int undone = 0;
    while (history.undo(doc)) {
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(doc.keyColours[1], (Rgb{1, 0, 0})); // the first step is beyond reach
    while (history.redo(doc)) {
    }
    EXPECT_EQ(doc.keyColours[1], (Rgb{101, 0, 0}));
}

// Large macros on every key and 100 edits: the history holds each list once
// plus what the edits changed, not a document per step, also when the user
// goes back and forth between two profiles.
TEST_F(HistoryTest, StepsShareWhatTheyDidNotChange) {
    for (int slot = 2; slot < kSlotCount; ++slot) {
        doc.keyMode[static_cast<std::size_t>(slot)] = kTypeMacro;
        doc.keyLists[static_cast<std::size_t>(slot)] = SampleMacro(400);
    }
    history.reset(doc);
    const std::size_t oneDocument = history.bytesHeld();
    const std::size_t oneList = oneDocument / 206;
    for (int step = 0; step < 100; ++step) {
        doc.keyColours[1][0] = step + 1;
        if (step % 2 == 0) {
            doc.keyLists[86].SetItemText(0, "<" + std::to_string(step) + " ms>");
        }
        ASSERT_TRUE(history.record(doc));
    }
    EXPECT_LT(history.bytesHeld(), oneDocument + 60 * oneList)
        << "one document " << oneDocument << " bytes, the history " << history.bytesHeld();

    // Two profiles opened in turn: every list differs between them.
    std::array<std::array<RecordList, kSlotCount>, 2> profiles{doc.keyLists, doc.keyLists};
    for (RecordList& list : profiles[1]) {
        list.SetItemText(1, "<1 ms>");
    }
    for (int step = 0; step < 100; ++step) {
        doc.keyLists = profiles[static_cast<std::size_t>(step % 2)];
        history.record(doc);
    }
    EXPECT_LT(history.bytesHeld(), 3 * oneDocument)
        << "one document " << oneDocument << " bytes, the history " << history.bytesHeld();
}

} // namespace
