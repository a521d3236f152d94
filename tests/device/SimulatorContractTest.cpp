#include "device/COrvoHWI.h"
#include "platform/HidTransport.h"
#include "tests/support/MessageRecorder.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::unique_ptr<EmbeddedSimulator> startSimulator(const std::string& model) {
    EmbeddedSimulator::Options options;
    options.model = model;
    options.forgetful = true;
    options.notesToStderr = false;
    std::string error;
    auto simulator = EmbeddedSimulator::start(options, &error);
    EXPECT_NE(simulator, nullptr) << error;
    return simulator;
}

struct ModelCase {
    const char* name;
    int modelType;
};

void PrintTo(const ModelCase& c, std::ostream* out) {
    *out << c.name;
}

class SimulatedModel : public testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override { ::unsetenv(kVirtualHidVariable); }
};

TEST_P(SimulatedModel, IsDetectedAndAnswersItsVersion) {
    auto simulator = startSimulator(GetParam().name);
    ASSERT_NE(simulator, nullptr);
    COrvoHWI hwi;
    EXPECT_EQ(hwi.DetectDeviceType(), GetParam().modelType);
    ASSERT_TRUE(hwi.__createDev());
    std::vector<wchar_t> version(64, L'#');
    ASSERT_TRUE(hwi.ReadKeyboardVersion(version.data()));
    EXPECT_EQ(std::wstring(version.data())
                  .rfind(std::wstring(GetParam().name, GetParam().name + std::strlen(GetParam().name)), 0),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Models, SimulatedModel,
                         testing::Values(ModelCase{"ZarnRGB.BT", 1}, ModelCase{"ZarnBT", 2},
                                         ModelCase{"Zarn", 3}, ModelCase{"ZarnRGB", 4}),
                         [](const testing::TestParamInfo<ModelCase>& row) {
                             std::string name = row.param.name;
                             std::erase(name, '.');
                             return name;
                         });

class SimulatorContract : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv(kVirtualHidVariable);
        simulator_ = startSimulator("Zarn");
        ASSERT_NE(simulator_, nullptr);
        ASSERT_TRUE(hwi_.__createDev());
    }

    std::unique_ptr<EmbeddedSimulator> simulator_;
    COrvoHWI hwi_;
};

std::vector<int> delayedMacro(int actions) {
    std::vector<int> config{2, 1, 3, 1, 25, actions};
    for (int i = 0; i < actions; ++i) {
        config.push_back(0x04 + i % 26);
        config.push_back(i + 1 < actions ? 10 * i : 0);
    }
    return config;
}

TEST_F(SimulatorContract, KeyTableWrittenIsTheTableRead) {
    const std::vector<std::pair<int, std::vector<int>>> keys{{1, {0, 2, 0xE0, 0x04}},
                                                             {2, {1, 120, 3, 0x04, 0x05, 0x06}},
                                                             {3, delayedMacro(30)},
                                                             {4, {2, 0, 1, 0, 0, 3, 7, 8, 9}}};
    for (const auto& [key, config] : keys) {
        ASSERT_TRUE(hwi_.setKeyConfiguration(key % 2, key, config.data(), static_cast<int>(config.size())));
    }
    MessageRecorder window;
    ASSERT_TRUE(hwi_.writeKeyConfigurationToDev(window.window()));
    ASSERT_TRUE(hwi_.prepare());
    ASSERT_TRUE(hwi_.readKeyDefinationFromDev(window.window()));
    std::vector<int> read(kKeyConfigArrayLength, 0);
    for (const auto& [key, config] : keys) {
        ASSERT_TRUE(hwi_.getKeyConfiguration(key % 2, key, read.data(), static_cast<int>(read.size())));
        EXPECT_EQ(std::vector<int>(read.begin(), read.begin() + static_cast<long>(config.size())), config)
            << "key " << key;
    }
    ASSERT_TRUE(hwi_.getKeyConfiguration(0, 50, read.data(), 2));
    EXPECT_EQ(read[1], 0);
}

TEST_F(SimulatorContract, LightsWrittenAreTheLightsRead) {
    std::vector<int> lights(kLightArrayLength);
    for (int i = 0; i < kLightArrayLength; ++i) {
        lights[static_cast<std::size_t>(i)] = (i * 7) % 256;
    }
    ASSERT_TRUE(hwi_.setKeyboardLightArea(lights.data()));
    // Forget the mirror's copy so the values can only come from the keyboard.
    std::vector<int> read(kLightArrayLength, -1);
    hwi_.__closeDev();
    ASSERT_TRUE(hwi_.__createDev());
    ASSERT_TRUE(hwi_.readKeyLightFromDev());
    ASSERT_TRUE(hwi_.getKeyboardLightArea(read.data()));
    EXPECT_EQ(read, lights);
}

TEST_F(SimulatorContract, CountersAndFirmwareAreAccepted) {
    std::vector<int> counters(kCounterArrayLength, -1);
    ASSERT_TRUE(hwi_.getPressCounterFromDev(counters.data()));
    for (int counter : counters) {
        EXPECT_GE(counter, 0);
    }
    const std::string firmware = ":020000040800F2\n:0400000001020304F2\n:00000001FF\n";
    MessageRecorder window;
    EXPECT_TRUE(hwi_.WriteFirmwareToKeyboard(firmware.c_str(), firmware.size(), window.window()));
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS), (std::vector<WPARAM>{50, 100, 150}));
}

} // namespace
