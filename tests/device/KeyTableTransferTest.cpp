#include "device/CNormalKeyDefine.h"
#include "tests/device/CaseName.h"
#include "tests/device/KeyboardConnection.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using Payload = ScriptedKeyboard::Payload;
using Then = ScriptedKeyboard::Answer::Then;

const Payload kTableEnd = ScriptedKeyboard::payload({0xF6});

std::vector<WPARAM> allSlots() {
    std::vector<WPARAM> slots(kSlotCount);
    std::iota(slots.begin(), slots.end(), 0);
    return slots;
}

Payload normalEntry(std::uint8_t layer, std::uint8_t key, std::initializer_list<std::uint8_t> codes) {
    Payload entry =
        ScriptedKeyboard::payload({0x00, 0xF0, layer, key, 0x00, static_cast<std::uint8_t>(codes.size())});
    std::copy(codes.begin(), codes.end(), entry.begin() + 6);
    return entry;
}

std::unique_ptr<CMacroKeyDefine> plainMacro(int key, int layer, int actions) {
    auto macro = std::make_unique<CMacroKeyDefine>(key, layer, 2);
    for (int i = 0; i < actions; ++i) {
        macro->codes.push_back(i + 1);
        macro->delays.push_back(0);
    }
    return macro;
}

const std::vector<int>* codesIn(const COrvo& mirror, int slot) {
    const auto* normal = dynamic_cast<const CNormalKeyDefine*>(mirror.KeySlotTable[slot].get());
    return normal != nullptr ? &normal->codes : nullptr;
}

TEST(KeyTableWrite, EmptyTableSendsBeginEveryEmptySlotAndEnd) {
    KeyboardConnection c;
    MessageRecorder window;
    ASSERT_TRUE(c.mirror.writeKeyTable(window.window()));
    ASSERT_TRUE(c.keyboard.waitForReceived(208, 2000));
    const Payloads sent = c.keyboard.received();
    ASSERT_EQ(sent.size(), 208u);
    EXPECT_EQ(sent.front(), ScriptedKeyboard::payload({0x00, 0xF1}));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(sent[1 + slot], normalEntry(static_cast<std::uint8_t>(slot / 103 + 1),
                                              static_cast<std::uint8_t>(slot % 103 + 1), {}))
            << "slot " << slot;
    }
    Payload end{};
    std::fill(end.begin() + 1, end.end(), 0xF6);
    EXPECT_EQ(sent.back(), end);
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS), allSlots());
    for (const auto& message : window.messages()) {
        EXPECT_EQ(message.lParam, 0);
    }
}

TEST(KeyTableWrite, TwoChunkMacroAddsOneReportButNoProgress) {
    KeyboardConnection c;
    MessageRecorder window;
    c.mirror.KeySlotTable[0] = plainMacro(1, 1, 54);
    ASSERT_TRUE(c.mirror.writeKeyTable(window.window()));
    ASSERT_TRUE(c.keyboard.waitForReceived(209, 2000));
    const Payloads sent = c.keyboard.received();
    ASSERT_EQ(sent.size(), 209u);
    EXPECT_EQ(sent[1][4], 0x02);
    EXPECT_EQ(sent[2][4], 0x02);
    EXPECT_EQ(sent[2][11], 54);
    EXPECT_EQ(sent[3], normalEntry(1, 2, {}));
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS), allSlots());
}

TEST(KeyTableWrite, MacroWithoutActionsSendsNothingForItsSlot) {
    KeyboardConnection c;
    c.mirror.KeySlotTable[5] = plainMacro(6, 1, 0);
    ASSERT_TRUE(c.mirror.writeKeyTable(WindowHandle()));
    ASSERT_TRUE(c.keyboard.waitForReceived(207, 2000));
    const Payloads sent = c.keyboard.received();
    ASSERT_EQ(sent.size(), 207u);
    EXPECT_EQ(sent[6], normalEntry(1, 7, {}));
}

TEST(KeyTableWrite, KeyboardHangingUpEndsTheWriteWithoutEndReport) {
    int seen = 0;
    KeyboardConnection c([&seen](const Payload&) {
        ScriptedKeyboard::Answer answer;
        answer.then = ++seen == 20 ? Then::HangUp : Then::Listen;
        return answer;
    });
    // More reports than the socket can buffer, so the hang-up cannot go unnoticed.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        c.mirror.KeySlotTable[slot] = plainMacro(slot % 103 + 1, slot / 103 + 1, 106);
    }
    MessageRecorder window;
    EXPECT_FALSE(c.mirror.writeKeyTable(window.window()));
    const Payloads sent = c.keyboard.received();
    EXPECT_EQ(sent.size(), 20u);
    EXPECT_LT(window.wParams(UM_DEVICE_PROGRESS).size(), 206u);
}

TEST(KeyTableRead, ReplacesOnlyTheSlotsTheKeyboardSends) {
    KeyboardConnection c(
        answering({{0xF2, replies({normalEntry(2, 3, {0x09}), normalEntry(2, 7, {0x05, 0x06}),
                                   normalEntry(2, 3, {0x04}), kTableEnd})}}));
    c.mirror.KeySlotTable[0] = std::make_unique<CNormalKeyDefine>(1, 1);
    MessageRecorder window;
    ASSERT_TRUE(c.mirror.readKeyTable(window.window()));
    EXPECT_EQ(c.keyboard.received().front(), ScriptedKeyboard::payload({0x00, 0xF2}));
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS), (std::vector<WPARAM>{105, 109, 105}));
    EXPECT_EQ(c.mirror.keysReceived(), 2) << "a key sent twice is one key";
    ASSERT_NE(codesIn(c.mirror, 105), nullptr);
    EXPECT_EQ(*codesIn(c.mirror, 105), std::vector<int>{0x04});
    EXPECT_EQ(*codesIn(c.mirror, 109), (std::vector<int>{0x05, 0x06}));
    EXPECT_NE(c.mirror.KeySlotTable[0], nullptr) << "the table is not cleared before a read";
}

TEST(KeyTableRead, EndMarkerAtOffsetZeroWinsOverAnEntryCommand) {
    KeyboardConnection c(answering(
        {{0xF2, replies({ScriptedKeyboard::payload({0xF6, 0xF0, 0x01, 0x01}), normalEntry(1, 1, {9})})}}));
    MessageRecorder window;
    ASSERT_TRUE(c.mirror.readKeyTable(window.window()));
    EXPECT_EQ(c.mirror.KeySlotTable[0], nullptr);
    EXPECT_TRUE(window.messages().empty());
}

TEST(KeyTableRead, JoinsMacroChunksWhateverTheirCommandByte) {
    CMacroKeyDefine macro(4, 2, 3);
    macro.repeatCount = 2;
    for (int i = 0; i < 107; ++i) {
        macro.codes.push_back(i);
        macro.delays.push_back(0);
    }
    std::vector<std::uint8_t> encoded(3 * 64);
    int length = static_cast<int>(encoded.size());
    ASSERT_TRUE(macro.encode(encoded.data(), 64, length));
    Payloads chunks(3);
    for (int i = 0; i < 3; ++i) {
        std::copy_n(encoded.begin() + 64 * i, 64, chunks[i].begin());
    }
    chunks[1][1] = 0x00;
    chunks[2][0] = 0xF6;
    chunks.push_back(kTableEnd);
    KeyboardConnection c(answering({{0xF2, replies(chunks)}}));
    ASSERT_TRUE(c.mirror.readKeyTable(WindowHandle()));
    const auto* read = dynamic_cast<const CMacroKeyDefine*>(c.mirror.KeySlotTable[106].get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->playType(), 3);
    EXPECT_EQ(read->repeatCount, 2);
    EXPECT_EQ(read->codes, macro.codes);
}

TEST(KeyTableRead, SkipsEntriesOutsideTheTableAndIgnoresOtherReports) {
    const Payloads reply{normalEntry(0, 1, {1}),
                         normalEntry(3, 1, {1}),
                         normalEntry(1, 0, {1}),
                         normalEntry(1, 104, {1}),
                         normalEntry(2, 255, {1}),
                         ScriptedKeyboard::payload({0x00, 0xF0, 0x01, 0x02, 0x05, 0x01, 0x01}),
                         ScriptedKeyboard::payload({0x00, 0xE0, 0x01, 0x03}),
                         normalEntry(1, 103, {7}),
                         kTableEnd};
    KeyboardConnection c(answering({{0xF2, replies(reply)}}));
    c.mirror.KeySlotTable[1] = std::make_unique<CNormalKeyDefine>(2, 1);
    MessageRecorder window;
    ASSERT_TRUE(c.mirror.readKeyTable(window.window()));
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS), std::vector<WPARAM>{102});
    EXPECT_NE(c.mirror.KeySlotTable[1], nullptr) << "an entry of unknown type leaves the slot alone";
}

struct BrokenReply {
    const char* name;
    Payloads replies;
    Then then;
    bool cutsMacro;
};

void PrintTo(const BrokenReply& c, std::ostream* out) {
    *out << c.name;
}

class KeyTableReadFailure : public testing::TestWithParam<BrokenReply> {};

TEST_P(KeyTableReadFailure, EndsWithFalseKeepingWhatWasRead) {
    ScriptedKeyboard::Answer answer;
    answer.replies = GetParam().replies;
    answer.then = GetParam().then;
    answer.flood = normalEntry(1, 2, {3});
    KeyboardConnection c(answering({{0xF2, answer}}));
    c.mirror.KeySlotTable[5] = std::make_unique<CNormalKeyDefine>(6, 1);
    EXPECT_FALSE(c.mirror.readKeyTable(WindowHandle()));
    ASSERT_NE(codesIn(c.mirror, 0), nullptr);
    EXPECT_EQ(c.mirror.KeySlotTable[5] == nullptr, GetParam().cutsMacro)
        << "a macro cut short leaves its slot empty";
}

const Payload kMacroHeaderOfTwoChunks =
    ScriptedKeyboard::payload({0x00, 0xF0, 0x01, 0x06, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 60});

INSTANTIATE_TEST_SUITE_P(
    Replies, KeyTableReadFailure,
    testing::Values(
        BrokenReply{"Silence", {normalEntry(1, 1, {1}), kMacroHeaderOfTwoChunks}, Then::Silence, true},
        BrokenReply{"HangUp", {normalEntry(1, 1, {1}), kMacroHeaderOfTwoChunks}, Then::HangUp, true},
        BrokenReply{"EndlessEntries", {normalEntry(1, 1, {1})}, Then::Flood, false}),
    CaseName());

} // namespace
