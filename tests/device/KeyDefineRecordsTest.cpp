#include "device/CContinousKeyDefine.h"
#include "device/CMacroKeyDefine.h"
#include "device/CNormalKeyDefine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

std::vector<std::uint8_t> encodeAll(const CKeyDefine& record) {
    int length = -1;
    EXPECT_TRUE(record.encode(nullptr, kPayloadSize, length));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length), 0);
    if (length > 0) {
        EXPECT_TRUE(record.encode(buffer.data(), kPayloadSize, length));
    }
    return buffer;
}

std::vector<std::uint8_t> payloadOf(std::initializer_list<std::uint8_t> head) {
    std::vector<std::uint8_t> payload(kPayloadSize, 0);
    std::copy(head.begin(), head.end(), payload.begin());
    return payload;
}

std::unique_ptr<CMacroKeyDefine> macroOf(int actions, int hasDelays) {
    auto macro = std::make_unique<CMacroKeyDefine>(1, 1, 2);
    macro->hasDelays = hasDelays;
    for (int i = 0; i < actions; ++i) {
        macro->codes.push_back((0x10 + i) & 0xFF);
        macro->delays.push_back(hasDelays != 0 ? 1000 + i : 0);
    }
    return macro;
}

} // namespace

TEST(NormalKeyDefine, EncodesLayerKeyCountAndCodes) {
    CNormalKeyDefine record(5, 2);
    record.codes = {0x04, 0x05, 0x06};
    EXPECT_EQ(encodeAll(record), payloadOf({0x00, 0xF0, 0x02, 0x05, 0x00, 0x03, 0x04, 0x05, 0x06}));
}

TEST(NormalKeyDefine, RefusesMoreCodesThanThePayloadHolds) {
    CNormalKeyDefine record(1, 1);
    record.codes.assign(59, 1);
    std::vector<std::uint8_t> buffer(kPayloadSize, 0);
    int length = kPayloadSize;
    EXPECT_FALSE(record.encode(buffer.data(), kPayloadSize, length));
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(kPayloadSize, 0));
}

TEST(NormalKeyDefine, DecodeReadsOnlyInsideThePayloadWhateverTheCount) {
    auto payload = payloadOf({0x00, 0xF0, 0x01, 0x01, 0x00, 0xFF});
    payload.back() = 0x77;
    CNormalKeyDefine record(1, 1);
    ASSERT_TRUE(record.decode(payload.data(), kPayloadSize, kPayloadSize));
    ASSERT_EQ(record.codes.size(), 58u);
    EXPECT_EQ(record.codes.back(), 0x77);
}

TEST(ContinousKeyDefine, EncodesValueHighByteFirst) {
    CContinousKeyDefine record(7, 1);
    record.value = 0x0123;
    record.codes = {0x2A};
    EXPECT_EQ(encodeAll(record), payloadOf({0x00, 0xF0, 0x01, 0x07, 0x01, 0x01, 0x23, 0x01, 0x2A}));
}

TEST(ContinousKeyDefine, WithoutCodesCarriesOnlyTheHeader) {
    CContinousKeyDefine record(7, 1);
    record.value = 0x0123;
    EXPECT_EQ(encodeAll(record), payloadOf({0x00, 0xF0, 0x01, 0x07, 0x01}));
}

TEST(ContinousKeyDefine, RoundTripsAndClampsTheCount) {
    CContinousKeyDefine record(7, 1);
    record.value = 500;
    record.codes = {1, 2, 3};
    const auto encoded = encodeAll(record);
    CContinousKeyDefine decoded(7, 1);
    ASSERT_TRUE(decoded.decode(encoded.data(), kPayloadSize, kPayloadSize));
    EXPECT_EQ(decoded.value, 500);
    EXPECT_EQ(decoded.codes, record.codes);

    auto malformed = encoded;
    malformed[7] = 200;
    ASSERT_TRUE(decoded.decode(malformed.data(), kPayloadSize, kPayloadSize));
    EXPECT_EQ(decoded.codes.size(), 56u);
}

struct ChunkCase {
    int actions;
    int hasDelays;
    int dataBytes;
    int chunks;
};

void PrintTo(const ChunkCase& c, std::ostream* out) {
    *out << c.actions << " actions, hasDelays " << c.hasDelays;
}

class MacroChunking : public testing::TestWithParam<ChunkCase> {};

TEST_P(MacroChunking, SplitsDataOverChunksThatEachRepeatTheHeader) {
    const ChunkCase c = GetParam();
    const auto owned = macroOf(c.actions, c.hasDelays);
    CMacroKeyDefine& macro = *owned;
    macro.repeatCount = 3;
    macro.fixedDelay = 0x0102;
    const auto encoded = encodeAll(macro);
    ASSERT_EQ(encoded.size(), static_cast<std::size_t>(64 * c.chunks));

    std::vector<std::uint8_t> data;
    for (int chunk = 0; chunk < c.chunks; ++chunk) {
        const std::uint8_t* payload = encoded.data() + 64 * chunk;
        const std::vector<std::uint8_t> header(payload, payload + 11);
        EXPECT_EQ(header, (std::vector<std::uint8_t>{0x00, 0xF0, 0x01, 0x01, 0x02, 0x03,
                                                     static_cast<std::uint8_t>(c.hasDelays), 0x01, 0x02,
                                                     static_cast<std::uint8_t>(c.dataBytes >> 8),
                                                     static_cast<std::uint8_t>(c.dataBytes)}))
            << "chunk " << chunk;
        data.insert(data.end(), payload + 11, payload + 64);
    }
    for (std::size_t i = static_cast<std::size_t>(c.dataBytes); i < data.size(); ++i) {
        EXPECT_EQ(data[i], 0) << "padding byte " << i;
    }

    if (c.chunks == 0) {
        return;
    }
    CMacroKeyDefine decoded(1, 1, 2);
    ASSERT_TRUE(decoded.decode(encoded.data(), kPayloadSize, static_cast<int>(encoded.size())));
    EXPECT_EQ(decoded.repeatCount, 3);
    EXPECT_EQ(decoded.fixedDelay, 0x0102);
    EXPECT_EQ(decoded.codes, macro.codes);
    if (c.hasDelays != 0 && c.actions > 0) {
        std::vector<int> expected = macro.delays;
        expected.back() = 0;
        EXPECT_EQ(decoded.delays, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MacroChunking,
                         testing::Values(ChunkCase{53, 0, 53, 1}, ChunkCase{54, 0, 54, 2},
                                         ChunkCase{106, 0, 106, 2}, ChunkCase{107, 0, 107, 3},
                                         ChunkCase{14, 1, 56, 2}, ChunkCase{0, 0, 0, 0},
                                         ChunkCase{16383, 1, 65532, 1237}));

TEST(MacroKeyDefine, DelayedActionsCarryMarkerAndDelayHighByteFirst) {
    const auto macro = macroOf(14, 1);
    const auto encoded = encodeAll(*macro);
    // Action 0 at the start of chunk 0; the last action's bytes 54..56 open chunk 1.
    EXPECT_EQ(std::vector<std::uint8_t>(encoded.begin() + 11, encoded.begin() + 15),
              (std::vector<std::uint8_t>{0x10, 0xC8, 0x03, 0xE8}));
    EXPECT_EQ(std::vector<std::uint8_t>(encoded.begin() + 64 + 11, encoded.begin() + 64 + 15),
              (std::vector<std::uint8_t>{0xC8, 0x03, 0xF5, 0x00}));
}

TEST(MacroKeyDefine, RefusesMoreActionDataThanTheHeaderCanCount) {
    const auto macro = macroOf(16384, 1);
    int length = -1;
    EXPECT_FALSE(macro->encode(nullptr, kPayloadSize, length));
    EXPECT_EQ(length, 0);
}

TEST(MacroKeyDefine, DecodeOfDelayedMacroWithZeroLengthGivesOneAction) {
    auto payload = payloadOf({0x00, 0xF0, 0x01, 0x01, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C});
    CMacroKeyDefine decoded(1, 1, 2);
    ASSERT_TRUE(decoded.decode(payload.data(), kPayloadSize, kPayloadSize));
    EXPECT_EQ(decoded.codes, std::vector<int>{0x2C});
    EXPECT_EQ(decoded.delays, std::vector<int>{0});
}

TEST(MacroKeyDefine, DecodeNeverReadsPastTheChunksItWasGiven) {
    // The header claims 200 data bytes but only one chunk arrived.
    auto payload = payloadOf({0x00, 0xF0, 0x01, 0x01, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 200});
    CMacroKeyDefine plain(1, 1, 2);
    ASSERT_TRUE(plain.decode(payload.data(), kPayloadSize, kPayloadSize));
    EXPECT_EQ(plain.codes.size(), 53u);

    payload[6] = 1;
    CMacroKeyDefine delayed(1, 1, 2);
    ASSERT_TRUE(delayed.decode(payload.data(), kPayloadSize, kPayloadSize));
    EXPECT_EQ(delayed.codes.size(), 14u);
}
