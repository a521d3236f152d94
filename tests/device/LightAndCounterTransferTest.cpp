#include "tests/device/CaseName.h"
#include "tests/device/KeyboardConnection.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using Payload = ScriptedKeyboard::Payload;
using Then = ScriptedKeyboard::Answer::Then;

const Payload kAreaEnd = ScriptedKeyboard::payload({0x00, 0xE6});

Payload chunk(std::uint8_t marker, std::uint8_t count, std::uint8_t fill) {
    Payload payload = ScriptedKeyboard::payload({0x00, marker, count});
    std::fill_n(payload.begin() + 3, std::min<int>(count, 61), fill);
    return payload;
}

TEST(LightWrite, SendsBeginSixChunksAndEnd) {
    KeyboardConnection c;
    std::iota(c.mirror.LightArea.begin(), c.mirror.LightArea.end(), 0);
    ASSERT_TRUE(c.mirror.writeLightArea());
    ASSERT_TRUE(c.keyboard.waitForReceived(8, 2000));
    const Payloads sent = c.keyboard.received();
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(sent[0], ScriptedKeyboard::payload({0x00, 0xE1}));
    int offset = 0;
    for (int i = 1; i <= 6; ++i) {
        const int count = i < 6 ? 61 : 4;
        EXPECT_EQ(sent[i][1], 0xE0);
        EXPECT_EQ(sent[i][2], count);
        for (int b = 0; b < 61; ++b) {
            const int expected = b < count ? (offset + b) & 0xFF : 0;
            ASSERT_EQ(sent[i][3 + b], expected) << "chunk " << i << " byte " << b;
        }
        offset += count;
    }
    Payload end;
    end.fill(0xE6);
    EXPECT_EQ(sent[7], end);
}

TEST(LightWrite, KeyboardGoneFailsTheWrite) {
    KeyboardConnection c(answering({{0xE1, {{}, Then::HangUp}}}));
    c.mirror.writeLightArea();
    ASSERT_TRUE(c.keyboard.waitForHangUp(2000));
    EXPECT_FALSE(c.mirror.writeLightArea());
}

TEST(LightRead, FillsTheAreaChunkByChunk) {
    Payloads reply;
    for (int i = 0; i < 5; ++i) {
        reply.push_back(chunk(0xE0, 61, static_cast<std::uint8_t>(i + 1)));
    }
    reply.push_back(chunk(0xE0, 4, 9));
    reply.push_back(kAreaEnd);
    KeyboardConnection c(answering({{0xE2, replies(reply)}}));
    ASSERT_TRUE(c.mirror.readLightArea());
    EXPECT_EQ(c.keyboard.received().front(), ScriptedKeyboard::payload({0x00, 0xE2}));
    EXPECT_EQ(c.mirror.LightArea[0], 1);
    EXPECT_EQ(c.mirror.LightArea[61], 2);
    EXPECT_EQ(c.mirror.LightArea[304], 5);
    EXPECT_EQ(c.mirror.LightArea[305], 9);
    EXPECT_EQ(c.mirror.LightArea[308], 9);
}

TEST(LightRead, ShortAnswerKeepsTheRestAndEachReadStartsAtZero) {
    KeyboardConnection c(answering(
        {{0xE2, replies({chunk(0xE0, 10, 7), ScriptedKeyboard::payload({0x00, 0x11}), kAreaEnd})}}));
    c.mirror.LightArea.fill(0x55);
    ASSERT_TRUE(c.mirror.readLightArea());
    ASSERT_TRUE(c.mirror.readLightArea());
    EXPECT_EQ(c.mirror.lightBytesReceived(), 10) << "the answer tells how much of the area came";
    EXPECT_EQ(c.mirror.LightArea[9], 7);
    EXPECT_EQ(c.mirror.LightArea[10], 0x55);
}

TEST(LightRead, DataBeyondTheAreaOrThePayloadIsDropped) {
    Payloads reply(7, chunk(0xE0, 61, 3));
    reply.push_back(chunk(0xE0, 200, 4));
    reply.push_back(kAreaEnd);
    KeyboardConnection c(answering({{0xE2, replies(reply)}}));
    ASSERT_TRUE(c.mirror.readLightArea());
    EXPECT_EQ(c.mirror.lightBytesReceived(), 309);
    EXPECT_EQ(c.mirror.LightArea[308], 3);
    EXPECT_EQ(c.mirror.PressCounters[0], 0);
}

TEST(CounterRead, TakesCounterChunksUntilTheEndMarker) {
    Payloads reply;
    for (int i = 0; i < 6; ++i) {
        reply.push_back(chunk(0xE3, 61, static_cast<std::uint8_t>(i + 1)));
    }
    reply.push_back(chunk(0xE0, 46, 0xEE));
    reply.push_back(chunk(0xE3, 46, 7));
    reply.push_back(kAreaEnd);
    KeyboardConnection c(answering({{0xE3, replies(reply)}}));
    ASSERT_TRUE(c.mirror.readPressCounters());
    EXPECT_EQ(c.keyboard.received().front(), ScriptedKeyboard::payload({0x00, 0xE3}));
    EXPECT_EQ(c.mirror.PressCounters[0], 1);
    EXPECT_EQ(c.mirror.PressCounters[366], 7);
    EXPECT_EQ(c.mirror.PressCounters[411], 7);
    EXPECT_EQ(c.mirror.LightArea[0], 0) << "light chunks are not counters";
}

struct AreaFailure {
    const char* name;
    std::uint8_t request;
    Then then;
};

void PrintTo(const AreaFailure& c, std::ostream* out) {
    *out << c.name;
}

class AreaReadFailure : public testing::TestWithParam<AreaFailure> {};

TEST_P(AreaReadFailure, EndsWithFalse) {
    const AreaFailure f = GetParam();
    ScriptedKeyboard::Answer answer;
    answer.then = f.then;
    answer.flood = chunk(f.request == 0xE2 ? 0xE0 : 0xE3, 61, 1);
    KeyboardConnection c(answering({{f.request, answer}}));
    EXPECT_FALSE(f.request == 0xE2 ? c.mirror.readLightArea() : c.mirror.readPressCounters());
}

INSTANTIATE_TEST_SUITE_P(Replies, AreaReadFailure,
                         testing::Values(AreaFailure{"LightSilence", 0xE2, Then::Silence},
                                         AreaFailure{"LightHangUp", 0xE2, Then::HangUp},
                                         AreaFailure{"LightEndless", 0xE2, Then::Flood},
                                         AreaFailure{"CounterSilence", 0xE3, Then::Silence},
                                         AreaFailure{"CounterEndless", 0xE3, Then::Flood}),
                         CaseName());

} // namespace
