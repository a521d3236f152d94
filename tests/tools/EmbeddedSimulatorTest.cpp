#include "tools/zarn-sim/EmbeddedSimulator.h"
#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"
#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace {

// Points the variables the embedded keyboard reads at a private directory,
// and puts them back afterwards.
class EmbeddedSimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(directory_.empty());
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("XDG_STATE_HOME", (directory_ + "/state").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", directory_.c_str(), 1);
        ::setenv("ZARN_VIRTUAL_HID", kOtherEntry, 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
        }
        std::filesystem::remove_all(directory_);
    }

    static std::unique_ptr<EmbeddedSimulator> start(const std::string& model) {
        EmbeddedSimulator::Options options;
        options.model = model;
        options.notesToStderr = false;
        std::string error;
        auto sim = EmbeddedSimulator::start(options, &error);
        EXPECT_TRUE(sim) << error;
        return sim;
    }

    static constexpr const char* kVariables[] = {"XDG_STATE_HOME", "XDG_RUNTIME_DIR", "ZARN_VIRTUAL_HID"};
    static constexpr const char* kOtherEntry = "0483:5339:1=/nonexistent/other.sock";
    std::string directory_ = RunningSim::makeTemporaryDirectory();
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(EmbeddedSimulatorTest, ComesFirstInTheVirtualListAndLeavesNoTrace) {
    auto sim = start("Zarn");
    ASSERT_TRUE(sim);
    const std::string socket = sim->socketPath();
    EXPECT_EQ(sim->virtualHidEntry(), "0483:5239:1=" + socket);
    EXPECT_EQ(std::string(std::getenv("ZARN_VIRTUAL_HID")), sim->virtualHidEntry() + ";" + kOtherEntry);
    EXPECT_EQ(socket.rfind(directory_ + "/", 0), 0u) << "the socket lives under XDG_RUNTIME_DIR";

    SimClient host;
    ASSERT_TRUE(host.connect(socket));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    const auto reply = host.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply->data() + 3)), "Zarn V1.05");

    sim.reset();
    EXPECT_EQ(std::string(std::getenv("ZARN_VIRTUAL_HID")), kOtherEntry);
    EXPECT_FALSE(std::filesystem::exists(socket));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(socket).parent_path()));
}

TEST_F(EmbeddedSimulatorTest, AWriteSurvivesToTheNextRun) {
    {
        auto sim = start("ZarnRGB");
        ASSERT_TRUE(sim);
        EXPECT_EQ(sim->statePath(), directory_ + "/state/zarn/ZarnRGB.state");
        SimClient host;
        ASSERT_TRUE(host.connect(sim->socketPath()));
        ASSERT_TRUE(host.sendPayload({0x00, 0xE1}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xE0, 2, 0xAB, 0xCD}));
        ASSERT_TRUE(host.sendPayload({0xE6, 0xE6}));
        ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
        ASSERT_TRUE(host.receive());
    }
    auto sim = start("ZarnRGB");
    ASSERT_TRUE(sim);
    SimClient host;
    ASSERT_TRUE(host.connect(sim->socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xE2}));
    const auto chunk = host.receive();
    ASSERT_TRUE(chunk);
    EXPECT_EQ((*chunk)[4], 0xAB);
    EXPECT_EQ((*chunk)[5], 0xCD);
}

// A host that writes and ends at once (zarnctl --simulate) leaves its reports
// queued on the socket; stopping the keyboard must still take them all.
TEST_F(EmbeddedSimulatorTest, AWholeTableWrittenJustBeforeTheStopIsKept) {
    {
        auto sim = start("Zarn");
        ASSERT_TRUE(sim);
        SimClient host;
        ASSERT_TRUE(host.connect(sim->socketPath()));
        ASSERT_TRUE(host.sendPayload({0x00, 0xF1}));
        for (int slot = 0; slot < 206; ++slot) {
            const auto layer = static_cast<std::uint8_t>(slot / 103 + 1);
            const auto key = static_cast<std::uint8_t>(slot % 103 + 1);
            if (slot == 205) {
                ASSERT_TRUE(host.sendPayload({0x00, 0xF0, layer, key, 0x00, 0x01, 0x2B}));
            } else {
                ASSERT_TRUE(host.sendPayload({0x00, 0xF0, layer, key, 0x00, 0x00}));
            }
        }
        std::vector<std::uint8_t> end(64, 0xF6);
        end[0] = 0x00;
        ASSERT_TRUE(host.sendPayload(end));
    }
    auto sim = start("Zarn");
    ASSERT_TRUE(sim);
    SimClient host;
    ASSERT_TRUE(host.connect(sim->socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF2}));
    const auto entry = host.receive();
    ASSERT_TRUE(entry);
    EXPECT_EQ((*entry)[2], 0xF0);
    EXPECT_EQ((*entry)[3], 2);
    EXPECT_EQ((*entry)[4], 103);
    EXPECT_EQ((*entry)[7], 0x2B);
}

// A keyboard leaves the factory with its model's assignment: a first run
// reads it back exactly as the program's own factory defaults.
TEST_F(EmbeddedSimulatorTest, EachModelStartsWithItsProductIdAndFactoryAssignment) {
    const std::pair<const char*, const char*> models[] = {{"ZarnRGB.BT", "0483:5039:1="},
                                                          {"ZarnBT", "0483:5139:1="},
                                                          {"Zarn", "0483:5239:1="},
                                                          {"ZarnRGB", "0483:5339:1="}};
    for (const auto& [model, prefix] : models) {
        auto sim = start(model);
        ASSERT_TRUE(sim);
        EXPECT_EQ(sim->virtualHidEntry().rfind(prefix, 0), 0u) << model;

        auto read = std::make_unique<ConfigDocument>();
        read->BuildCatalogue();
        read->modelType = read->device.DetectDeviceType();
        ASSERT_TRUE(read->device.__createDev()) << model;
        ASSERT_TRUE(ReadKeysFromDevice(*read, WindowHandle())) << model;
        auto factory = std::make_unique<ConfigDocument>();
        factory->BuildCatalogue();
        factory->modelType = read->modelType;
        factory->ResetToDefaults();
        EXPECT_EQ(read->keyCode, factory->keyCode) << model;
        EXPECT_EQ(read->keyMode, factory->keyMode) << model;
    }
}

TEST_F(EmbeddedSimulatorTest, RefusesAnUnknownModelOrADamagedStateFile) {
    std::string error;
    EXPECT_FALSE(EmbeddedSimulator::start("Orvo", &error));
    EXPECT_NE(error.find("unknown model"), std::string::npos);

    std::filesystem::create_directories(directory_ + "/state/zarn");
    std::ofstream(directory_ + "/state/zarn/Zarn.state") << "zarn-sim state 1\nslot 999 00\nend\n";
    EXPECT_FALSE(EmbeddedSimulator::start("Zarn", &error));
    EXPECT_NE(error.find("refused"), std::string::npos) << error;
    EXPECT_EQ(std::string(std::getenv("ZARN_VIRTUAL_HID")), kOtherEntry);
}

} // namespace
