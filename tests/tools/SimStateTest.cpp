#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"
#include "tools/zarn-sim/SimStateFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class SimStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(directory_.empty()); }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    SimConfig config() const {
        SimConfig c;
        c.server.statePath = statePath_;
        return c;
    }

    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void writeFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    std::string directory_ = RunningSim::makeTemporaryDirectory();
    std::string statePath_ = directory_ + "/Zarn.state";
};

// A keyboard memory with every kind of item the file holds.
SimMemory sampleMemory() {
    SimMemory memory;
    memory.lights[0] = 0xFF;
    memory.lights[308] = 0x01;
    Payload normal{0x00, 0xF0, 2, 5, 0, 1, 0x04};
    memory.slots[107] = {normal};
    Payload first{0x00, 0xF0, 1, 1, 2, 1, 0, 0, 0, 0, 60};
    Payload second = first;
    second[11] = 0x2A;
    memory.slots[0] = {first, second};
    memory.updatedVersion = "Zarn V1.06";
    return memory;
}

TEST_F(SimStateTest, WrittenTableAndLightsSurviveARestart) {
    {
        RunningSim sim(config());
        ASSERT_TRUE(sim.ok()) << sim.error();
        SimClient host;
        ASSERT_TRUE(host.connect(sim.socketPath()));
        ASSERT_TRUE(host.sendPayload({0x00, 0xF1}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xF0, 1, 2, 0, 1, 0x29}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xF6, 0xF6, 0xF6}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xE1}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xE0, 3, 10, 20, 30}));
        ASSERT_TRUE(host.sendPayload({0xE6, 0xE6}));
        // A reply proves the writes before it were handled.
        ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
        ASSERT_TRUE(host.receive());
    }
    RunningSim sim(config());
    ASSERT_TRUE(sim.ok()) << sim.error();
    SimClient host;
    ASSERT_TRUE(host.connect(sim.socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF2}));
    const auto entry = host.receive();
    ASSERT_TRUE(entry);
    EXPECT_EQ((*entry)[4], 2);
    EXPECT_EQ((*entry)[7], 0x29);
    ASSERT_TRUE(host.receive());
    ASSERT_TRUE(host.sendPayload({0x00, 0xE2}));
    const auto lights = host.receive();
    ASSERT_TRUE(lights);
    EXPECT_EQ((*lights)[4], 10);
    EXPECT_EQ((*lights)[6], 30);
    // Saving replaces the file whole; no temporary is left beside it.
    for (const auto& item : std::filesystem::directory_iterator(directory_)) {
        EXPECT_EQ(item.path().filename(), "Zarn.state");
    }
}

TEST_F(SimStateTest, FormatAndParseRoundTrip) {
    const SimMemory memory = sampleMemory();
    SimMemory parsed;
    std::string error;
    ASSERT_TRUE(parseSimState(formatSimState(memory), &parsed, &error)) << error;
    EXPECT_EQ(parsed, memory);
}

TEST_F(SimStateTest, RefusesDamagedFiles) {
    const std::string good = formatSimState(sampleMemory());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"another file", "hello\n"},
        {"cut short", good.substr(0, good.size() / 2)},
        {"no end line", replaced("end\n", "")},
        {"no final line break", good.substr(0, good.size() - 1)},
        {"text after the end", good + "slot 1 00\n"},
        {"unknown line", replaced("lights", "colours")},
        {"short lights", replaced("lights ff", "lights f")},
        {"bad hex", replaced("lights ff", "lights zz")},
        {"slot out of range", replaced("slot 107", "slot 206")},
        {"entry of another key", replaced("slot 107", "slot 106")},
        {"slots out of order", replaced("slot 107", "slot 0")},
        {"macro missing a chunk",
         replaced("slot 0 00f001010201000000003c2a", "slot 9 00f0010a000104000000002a")},
        {"version too long", replaced("version ", "version " + std::string(200, 'a'))},
    };
    for (const auto& [name, text] : cases) {
        SimMemory memory;
        std::string error;
        EXPECT_FALSE(parseSimState(text, &memory, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
}

TEST_F(SimStateTest, ARefusedStateFileStopsTheStartAndIsLeftAlone) {
    const std::string damaged = "zarn-sim state 1\nlights 00\n";
    writeFile(statePath_, damaged);
    RunningSim sim(config());
    EXPECT_FALSE(sim.ok());
    EXPECT_NE(sim.error().find("refused"), std::string::npos) << sim.error();
    EXPECT_EQ(readFile(statePath_), damaged);
}

TEST_F(SimStateTest, AMissingStateFileStartsAFreshKeyboard) {
    RunningSim sim(config());
    ASSERT_TRUE(sim.ok()) << sim.error();
    EXPECT_FALSE(std::filesystem::exists(statePath_));
}

} // namespace
