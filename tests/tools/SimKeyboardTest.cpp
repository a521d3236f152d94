#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using Message = SimClient::Message;
using Bytes = std::vector<std::uint8_t>;

Bytes payloadOf(const Message& report) {
    return Bytes(report.begin() + 1, report.end());
}

Bytes normalEntry(int layer, int key, Bytes codes) {
    Bytes payload(64, 0);
    payload[1] = 0xF0;
    payload[2] = static_cast<std::uint8_t>(layer);
    payload[3] = static_cast<std::uint8_t>(key);
    payload[5] = static_cast<std::uint8_t>(codes.size());
    std::copy(codes.begin(), codes.end(), payload.begin() + 6);
    return payload;
}

// A macro without delays: `actions` codes cut into 53-byte pieces, one chunk each.
std::vector<Bytes> macroChunks(int layer, int key, std::size_t actions) {
    std::vector<Bytes> chunks;
    for (std::size_t start = 0; start < actions; start += 53) {
        Bytes payload(64, 0);
        payload[1] = 0xF0;
        payload[2] = static_cast<std::uint8_t>(layer);
        payload[3] = static_cast<std::uint8_t>(key);
        payload[4] = 2;
        payload[5] = 1;
        payload[9] = static_cast<std::uint8_t>(actions >> 8);
        payload[10] = static_cast<std::uint8_t>(actions);
        for (std::size_t i = start; i < std::min(actions, start + 53); ++i) {
            payload[11 + i - start] = static_cast<std::uint8_t>(i + 1);
        }
        chunks.push_back(payload);
    }
    return chunks;
}

Bytes tableEnd() {
    Bytes payload(64, 0xF6);
    payload[0] = 0;
    return payload;
}

Bytes areaChunk(std::uint8_t marker, std::size_t n, std::uint8_t first) {
    Bytes payload(64, 0);
    payload[1] = marker;
    payload[2] = static_cast<std::uint8_t>(n);
    for (std::size_t i = 0; i < std::min<std::size_t>(n, 61); ++i) {
        payload[3 + i] = static_cast<std::uint8_t>(first + i);
    }
    return payload;
}

class SimKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim_.ok()) << sim_.error();
        ASSERT_TRUE(host_.connect(sim_.socketPath()));
    }

    void send(const Bytes& payload) { ASSERT_TRUE(host_.sendPayload(payload)); }

    // The host's whole table write: begin, the given payloads, end.
    void writeTable(const std::vector<Bytes>& entries) {
        send({0x00, 0xF1});
        for (const auto& entry : entries) {
            send(entry);
        }
        send(tableEnd());
    }

    std::vector<Bytes> readTable() {
        EXPECT_TRUE(host_.sendPayload({0x00, 0xF2}));
        std::vector<Bytes> payloads;
        // The end marker sits at payload offset 0, so read until it shows there.
        while (auto report = host_.receive()) {
            payloads.push_back(payloadOf(*report));
            if (payloads.back()[0] == 0xF6) {
                return payloads;
            }
        }
        ADD_FAILURE() << "the table read did not end";
        return payloads;
    }

    std::string readVersion() {
        EXPECT_TRUE(host_.sendPayload({0x00, 0xF9}));
        const auto reply = host_.receive();
        if (!reply || reply->size() != 65) {
            return "<no reply>";
        }
        return std::string(reinterpret_cast<const char*>(reply->data() + 3));
    }

    RunningSim sim_;
    SimClient host_;
};

TEST_F(SimKeyboardTest, AnswersTheVersionInPayloadBytesTwoOnward) {
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF9}));
    const auto reply = host_.receive();
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), 65u);
    EXPECT_EQ((*reply)[0], 0);
    const std::string text = "Zarn V1.05";
    EXPECT_TRUE(std::equal(text.begin(), text.end(), reply->begin() + 3));
    EXPECT_TRUE(std::all_of(reply->begin() + 3 + text.size(), reply->end(), [](auto b) { return b == 0; }));
}

TEST_F(SimKeyboardTest, ReturnsTheTableExactlyAsWrittenInSlotOrder) {
    const auto macro = macroChunks(1, 1, 60); // two chunks
    const auto normal = normalEntry(2, 5, {0x11, 0x12, 0x13});
    Bytes continuous(64, 0);
    continuous[1] = 0xF0;
    continuous[2] = 1;
    continuous[3] = 9;
    continuous[4] = 1;
    continuous[5] = 0x01;
    continuous[6] = 0x23;
    continuous[7] = 1;
    continuous[8] = 0x2A;
    std::vector<Bytes> entries;
    for (int slot = 0; slot < 206; ++slot) {
        const int layer = slot / 103 + 1;
        const int key = slot % 103 + 1;
        if (slot == 0) {
            entries.insert(entries.end(), macro.begin(), macro.end());
        } else if (slot == 8) {
            entries.push_back(continuous);
        } else if (slot == 107) {
            entries.push_back(normal);
        } else {
            entries.push_back(normalEntry(layer, key, {}));
        }
    }
    writeTable(entries);

    const auto table = readTable();
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], macro[0]);
    EXPECT_EQ(table[1], macro[1]);
    EXPECT_EQ(table[2], continuous);
    EXPECT_EQ(table[3], normal);
    EXPECT_TRUE(std::all_of(table[4].begin(), table[4].end(), [](auto b) { return b == 0xF6; }));
}

TEST_F(SimKeyboardTest, OnlyACompletedWriteChangesTheTable) {
    const auto first = normalEntry(1, 3, {0x04});
    writeTable({first});

    // An interrupted write (no end report) leaves the keyboard as it was.
    send({0x00, 0xF1});
    send(normalEntry(1, 3, {}));
    send(normalEntry(1, 4, {0x05}));
    auto table = readTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], first);

    // A completed one replaces the whole table: an empty entry clears its slot.
    writeTable({normalEntry(1, 3, {}), normalEntry(1, 4, {0x05})});
    table = readTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], normalEntry(1, 4, {0x05}));
}

TEST_F(SimKeyboardTest, DropsAMacroCutShortAndEntriesOutsideTheTable) {
    const auto macro = macroChunks(1, 7, 120); // three chunks
    const auto kept = normalEntry(2, 103, {0x07});
    auto badType = normalEntry(1, 10, {0x01});
    badType[4] = 5;
    writeTable({
        macro[0], macro[1], kept,                                        // the third chunk never comes
        normalEntry(0, 5, {0x01}), normalEntry(3, 5, {0x01}),            // layers that do not exist
        normalEntry(1, 0, {0x01}), normalEntry(1, 104, {0x01}), badType, // keys and a type that do not
    });
    const auto table = readTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], kept);
}

TEST_F(SimKeyboardTest, StoresAndReturnsTheLightAreaInChunksOf61) {
    send({0x00, 0xE1});
    for (int chunk = 0; chunk < 5; ++chunk) {
        send(areaChunk(0xE0, 61, static_cast<std::uint8_t>(chunk * 61)));
    }
    send(areaChunk(0xE0, 4, 49)); // 305 % 256
    send(Bytes(64, 0xE6));

    ASSERT_TRUE(host_.sendPayload({0x00, 0xE2}));
    const auto replies = host_.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    ASSERT_EQ(replies->size(), 7u);
    std::vector<std::uint8_t> area;
    for (std::size_t i = 0; i + 1 < replies->size(); ++i) {
        const auto& report = (*replies)[i];
        EXPECT_EQ(report[2], 0xE0);
        const std::size_t n = report[3];
        EXPECT_EQ(n, i < 5 ? 61u : 4u);
        area.insert(area.end(), report.begin() + 4, report.begin() + 4 + static_cast<std::ptrdiff_t>(n));
    }
    std::vector<std::uint8_t> expected(309);
    std::iota(expected.begin(), expected.end(), std::uint8_t{0});
    EXPECT_EQ(area, expected);
    EXPECT_TRUE(
        std::all_of(replies->back().begin() + 1, replies->back().end(), [](auto b) { return b == 0xE6; }));
}

TEST_F(SimKeyboardTest, LightChunksBeyondTheAreaOrThePayloadAreCut) {
    send({0x00, 0xE1});
    for (int chunk = 0; chunk < 6; ++chunk) {
        send(areaChunk(0xE0, 200, 1)); // claims more than a payload holds
    }
    send(Bytes(64, 0xE6));
    ASSERT_TRUE(host_.sendPayload({0x00, 0xE2}));
    const auto replies = host_.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    ASSERT_EQ(replies->size(), 7u);
    // Whatever the count byte said, each chunk carried at most 61 bytes and the area holds 309.
    EXPECT_EQ((*replies)[5][3], 4);
    EXPECT_EQ((*replies)[5][4], 1);
    EXPECT_EQ((*replies)[0][4 + 60], 61);
}

TEST_F(SimKeyboardTest, AnInterruptedLightWriteKeepsTheOldArea) {
    send({0x00, 0xE1});
    send(areaChunk(0xE0, 61, 100));
    ASSERT_TRUE(host_.sendPayload({0x00, 0xE2}));
    const auto replies = host_.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    EXPECT_EQ((*replies)[0][4], 0);
}

// The counters of the default preset, decoded from the keyboard's seven chunks.
std::vector<std::uint32_t> decodeCounters(const std::vector<Message>& replies) {
    std::vector<std::uint8_t> bytes;
    for (const auto& report : replies) {
        if (report[2] == 0xE3) {
            bytes.insert(bytes.end(), report.begin() + 4, report.begin() + 4 + report[3]);
        }
    }
    std::vector<std::uint32_t> counters;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        counters.push_back(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
                           static_cast<std::uint32_t>(bytes[i + 3]) << 24);
    }
    return counters;
}

TEST_F(SimKeyboardTest, DemoCountersShowOneMostAndOneLeastUsedKey) {
    ASSERT_TRUE(host_.sendPayload({0x00, 0xE3}));
    const auto replies = host_.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    ASSERT_EQ(replies->size(), 8u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ((*replies)[i][3], i < 6 ? 61 : 46) << "chunk " << i;
    }
    const auto counters = decodeCounters(*replies);
    ASSERT_EQ(counters.size(), 103u);
    const auto most = std::max_element(counters.begin(), counters.end());
    const auto least = std::min_element(counters.begin(), counters.end());
    EXPECT_EQ(most - counters.begin() + 1, 70);  // Space
    EXPECT_EQ(least - counters.begin() + 1, 85); // ScrollLock
    EXPECT_EQ(std::count(counters.begin(), counters.end(), *most), 1);
    EXPECT_EQ(std::count(counters.begin(), counters.end(), *least), 1);
}

TEST_F(SimKeyboardTest, IgnoresWhatAKeyboardWouldNotUnderstand) {
    const auto before = readTable();
    const std::vector<Message> garbage = {
        {0x00, 0x00, 0xF9}, // too short
        Message(66, 0),     // too long
        [] {
            auto m = simReport({0x00, 0xF9});
            m[0] = 1;
            return m;
        }(),                                    // another report id
        simReport({0x00, 0x77}),                // unknown command
        simReport({0x00, 0xF0, 1, 1, 0, 1, 4}), // an entry outside a table write
        simReport({0x00, 0xE0, 61, 1, 2, 3}),   // light data outside a light write
        simReport({0x00, 0xF6}),                // an end without a begin
    };
    for (const auto& message : garbage) {
        ASSERT_TRUE(host_.send(message));
    }
    EXPECT_FALSE(host_.receive(std::chrono::milliseconds(100)));
    EXPECT_EQ(readVersion(), "Zarn V1.05");
    EXPECT_EQ(readTable(), before);
}

TEST_F(SimKeyboardTest, ServesSeveralConnectionsAtOnceEachWithItsOwnAnswers) {
    SimClient probe;
    ASSERT_TRUE(probe.connect(sim_.socketPath()));
    SimClient other;
    ASSERT_TRUE(other.connect(sim_.socketPath()));
    probe.close();
    ASSERT_TRUE(other.sendPayload({0x00, 0xE3}));
    EXPECT_EQ(readVersion(), "Zarn V1.05");
    const auto replies = other.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    EXPECT_EQ(replies->size(), 8u);
    EXPECT_FALSE(host_.receive(std::chrono::milliseconds(50)));
}

TEST_F(SimKeyboardTest, AnotherHostCannotCutAWriteInHalf) {
    const auto macro = macroChunks(1, 2, 80);
    send({0x00, 0xF1});
    send(macro[0]);
    // Time for the keyboard to take the first chunk, so the other host's reports come in between.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    SimClient other;
    ASSERT_TRUE(other.connect(sim_.socketPath()));
    ASSERT_TRUE(other.sendPayload({0x00, 0xF9}));
    ASSERT_TRUE(other.receive());
    ASSERT_TRUE(other.sendPayload({0x00, 0xE1})); // and an unfinished light write of its own

    send(macro[1]);
    send(tableEnd());
    const auto table = readTable();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1], macro[1]);
}

TEST_F(SimKeyboardTest, AHostThatDoesNotReadHoldsUpNoOtherConnection) {
    std::vector<Bytes> entries;
    for (int slot = 0; slot < 206; ++slot) {
        const auto chunks = macroChunks(slot / 103 + 1, slot % 103 + 1, 150);
        entries.insert(entries.end(), chunks.begin(), chunks.end());
    }
    writeTable(entries);
    // Far more replies than a socket buffer holds, and nobody reading them yet.
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF2}));

    SimClient other;
    ASSERT_TRUE(other.connect(sim_.socketPath()));
    ASSERT_TRUE(other.sendPayload({0x00, 0xF9}));
    EXPECT_TRUE(other.receive());

    std::size_t replies = 0;
    while (auto report = host_.receive()) {
        ++replies;
        if ((*report)[1] == 0xF6) {
            break;
        }
    }
    EXPECT_EQ(replies, 206u * 3 + 1);
}

struct ConfigCase {
    const char* name;
    std::string model;
    std::optional<std::string> version;
    std::string counters;
    std::string expectedVersion;
    std::uint32_t key5Count;
};

void PrintTo(const ConfigCase& c, std::ostream* out) {
    *out << c.name;
}

class SimConfigTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(SimConfigTest, VersionAndCountersFollowTheConfiguration) {
    const auto& c = GetParam();
    SimConfig config;
    config.model = c.model;
    config.version = c.version;
    config.counters = c.counters;
    RunningSim sim(config);
    ASSERT_TRUE(sim.ok()) << sim.error();
    SimClient host;
    ASSERT_TRUE(host.connect(sim.socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    const auto reply = host.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply->data() + 3)), c.expectedVersion);
    ASSERT_TRUE(host.sendPayload({0x00, 0xE3}));
    const auto replies = host.receiveThrough(1, 0xE6);
    ASSERT_TRUE(replies);
    EXPECT_EQ(decodeCounters(*replies).at(4), c.key5Count);
}

INSTANTIATE_TEST_SUITE_P(
    Models, SimConfigTest,
    ::testing::Values(ConfigCase{"RgbBt", "ZarnRGB.BT", std::nullopt, "zero", "ZarnRGB.BT V1.05", 0},
                      ConfigCase{"Bt", "ZarnBT", std::nullopt, "zero,5=7", "ZarnBT V1.05", 7},
                      ConfigCase{"Rgb", "ZarnRGB", "ZarnRGB V2.00", "5=4294967295", "ZarnRGB V2.00",
                                 4294967295u},
                      ConfigCase{"Plain", "Zarn", std::string(62, 'x'), "demo,5=1", std::string(62, 'x'), 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SimConfigRefusal, RefusesWhatCannotBeAKeyboard) {
    const std::vector<std::pair<SimConfig, std::string>> cases = [] {
        std::vector<std::pair<SimConfig, std::string>> list;
        SimConfig unknown;
        unknown.model = "zarn";
        list.emplace_back(unknown, "unknown model");
        SimConfig longVersion;
        longVersion.model = "Zarn";
        longVersion.version = std::string(63, 'v');
        list.emplace_back(longVersion, "62 bytes");
        for (const char* counters : {"5", "0=1", "104=1", "5=x", "demo,,zero", "5=99999999999"}) {
            SimConfig bad;
            bad.model = "Zarn";
            bad.counters = counters;
            list.emplace_back(bad, "bad counter item");
        }
        return list;
    }();
    for (const auto& [config, reason] : cases) {
        RunningSim sim(config);
        EXPECT_FALSE(sim.ok()) << config.counters;
        EXPECT_NE(sim.error().find(reason), std::string::npos) << sim.error();
    }
}

} // namespace
