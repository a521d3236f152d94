#include "device/COrvoHWI.h"
#include "platform/HidTransport.h"
#include "tests/device/CaseName.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScriptedKeyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <vector>

namespace {

using Payload = ScriptedKeyboard::Payload;
using Then = ScriptedKeyboard::Answer::Then;

ScriptedKeyboard::Script answerEach(std::uint8_t command, std::vector<Payload> reply,
                                    Then then = Then::Listen) {
    return [=](const Payload& request) {
        ScriptedKeyboard::Answer answer;
        if (request[1] == command) {
            answer.replies = reply;
            answer.then = then;
        }
        return answer;
    };
}

class ExportedInterface : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv(kVirtualHidVariable);
        keyboard_ = std::make_unique<ScriptedKeyboard>();
        ASSERT_TRUE(hwi_.__createDev());
    }
    void TearDown() override {
        hwi_.__closeDev();
        keyboard_.reset();
    }

    std::unique_ptr<ScriptedKeyboard> keyboard_;
    COrvoHWI hwi_;
    std::vector<int> config_ = std::vector<int>(kKeyConfigArrayLength, -1);
};

TEST_F(ExportedInterface, MacroWithDelaysRoundTripsLeavingTheLastDelayUntouched) {
    const std::vector<int> macro{2, 1, 5, 1, 30, 2, 4, 100, 5, 0};
    ASSERT_TRUE(hwi_.setKeyConfiguration(1, 7, macro.data(), static_cast<int>(macro.size())));
    ASSERT_TRUE(hwi_.getKeyConfiguration(1, 7, config_.data(), static_cast<int>(config_.size())));
    EXPECT_EQ(std::vector<int>(config_.begin(), config_.begin() + 10),
              (std::vector<int>{2, 1, 5, 1, 30, 2, 4, 100, 5, -1}));
}

TEST_F(ExportedInterface, NormalContinuousAndPlainMacroRoundTrip) {
    const std::vector<std::vector<int>> definitions{
        {0, 3, 4, 5, 6}, {1, 250, 2, 7, 8}, {2, 2, 9, 0, 300, 3, 1, 2, 3}, {0, 0}};
    for (const auto& definition : definitions) {
        ASSERT_TRUE(hwi_.setKeyConfiguration(0, 103, definition.data(), static_cast<int>(definition.size())));
        ASSERT_TRUE(hwi_.getKeyConfiguration(0, 103, config_.data(), static_cast<int>(config_.size())));
        EXPECT_EQ(std::vector<int>(config_.begin(), config_.begin() + static_cast<long>(definition.size())),
                  definition);
    }
}

TEST_F(ExportedInterface, KeyNeverSetReadsAsEmptyNormalKey) {
    ASSERT_TRUE(hwi_.getKeyConfiguration(0, 1, config_.data(), 2));
    EXPECT_EQ(config_[0], 0);
    EXPECT_EQ(config_[1], 0);
    EXPECT_EQ(config_[2], -1);
}

struct RefusedDefinition {
    const char* name;
    std::vector<int> config;
    int length;
};

void PrintTo(const RefusedDefinition& c, std::ostream* out) {
    *out << c.name;
}

std::vector<int> normalWith(int codes) {
    std::vector<int> config{0, codes};
    config.resize(static_cast<std::size_t>(2 + codes), 4);
    return config;
}

class RefusedDefinitions : public ExportedInterface, public testing::WithParamInterface<RefusedDefinition> {};

TEST_P(RefusedDefinitions, LeaveTheSlotAsItWas) {
    const std::vector<int> previous{0, 1, 0x29};
    ASSERT_TRUE(hwi_.setKeyConfiguration(1, 50, previous.data(), 3));
    const RefusedDefinition& d = GetParam();
    EXPECT_FALSE(hwi_.setKeyConfiguration(1, 50, d.config.data(),
                                          d.length < 0 ? static_cast<int>(d.config.size()) : d.length));
    ASSERT_TRUE(hwi_.getKeyConfiguration(1, 50, config_.data(), static_cast<int>(config_.size())));
    EXPECT_EQ(std::vector<int>(config_.begin(), config_.begin() + 3), previous);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, RefusedDefinitions,
    testing::Values(RefusedDefinition{"UnknownKind", {3, 0}, -1},
                    RefusedDefinition{"NormalOver58Codes", normalWith(59), -1},
                    RefusedDefinition{"ContinuousOver56Codes",
                                      [] {
                                          std::vector<int> config{1, 100, 57};
                                          config.resize(60, 4);
                                          return config;
                                      }(),
                                      -1},
                    RefusedDefinition{"MacroPlayModeOutOfRange", {2, 3, 1, 0, 0, 1, 4}, -1},
                    RefusedDefinition{"MacroHasDelaysOutOfRange", {2, 0, 1, 2, 0, 1, 4, 0}, -1},
                    RefusedDefinition{"MacroOver65535DataBytes",
                                      [] {
                                          std::vector<int> config{2, 0, 1, 1, 0, 16384};
                                          config.resize(6 + 2 * 16384, 4);
                                          return config;
                                      }(),
                                      -1},
                    RefusedDefinition{"NegativeCount", {0, -1}, -1},
                    RefusedDefinition{"LengthShorterThanDefinition", normalWith(10), 5},
                    RefusedDefinition{"EmptyArray", {}, 0}),
    CaseName());

TEST_F(ExportedInterface, LongestLegalDefinitionsAreAccepted) {
    const auto normal = normalWith(58);
    EXPECT_TRUE(hwi_.setKeyConfiguration(0, 1, normal.data(), static_cast<int>(normal.size())));
    std::vector<int> macro{2, 0, 1, 0, 0, 65535};
    macro.resize(6 + 65535, 4);
    EXPECT_TRUE(hwi_.setKeyConfiguration(0, 2, macro.data(), static_cast<int>(macro.size())));
}

TEST_F(ExportedInterface, ArgumentsOutsideTheTableOrNullBuffersFail) {
    const std::vector<int> normal{0, 1, 4};
    for (const auto& [layer, key] : std::vector<std::pair<int, int>>{{-1, 1}, {2, 1}, {0, 0}, {1, 104}}) {
        EXPECT_FALSE(hwi_.setKeyConfiguration(layer, key, normal.data(), 3)) << layer << "/" << key;
        EXPECT_FALSE(hwi_.getKeyConfiguration(layer, key, config_.data(), 10)) << layer << "/" << key;
    }
    EXPECT_FALSE(hwi_.setKeyConfiguration(0, 1, nullptr, 3));
    EXPECT_FALSE(hwi_.getKeyConfiguration(0, 1, nullptr, 10));
    EXPECT_FALSE(hwi_.setKeyboardLightArea(nullptr));
    EXPECT_FALSE(hwi_.getKeyboardLightArea(nullptr));
    EXPECT_FALSE(hwi_.getPressCounterFromDev(nullptr));
    EXPECT_FALSE(hwi_.ReadKeyboardVersion(nullptr));
}

TEST_F(ExportedInterface, GetNeverWritesBeyondTheCapacity) {
    const std::vector<int> normal{0, 3, 4, 5, 6};
    ASSERT_TRUE(hwi_.setKeyConfiguration(0, 9, normal.data(), 5));
    EXPECT_FALSE(hwi_.getKeyConfiguration(0, 9, config_.data(), 4));
    EXPECT_EQ(config_[0], -1);
    EXPECT_TRUE(hwi_.getKeyConfiguration(0, 9, config_.data(), 5));
}

TEST_F(ExportedInterface, PrepareEmptiesEverySlot) {
    const std::vector<int> normal{0, 1, 4};
    ASSERT_TRUE(hwi_.setKeyConfiguration(1, 103, normal.data(), 3));
    ASSERT_TRUE(hwi_.prepare());
    ASSERT_TRUE(hwi_.getKeyConfiguration(1, 103, config_.data(), 3));
    EXPECT_EQ(config_[1], 0);
}

TEST_F(ExportedInterface, CreatingTwiceKeepsTheOpenDeviceAndItsMirror) {
    const std::vector<int> normal{0, 1, 4};
    ASSERT_TRUE(hwi_.setKeyConfiguration(0, 1, normal.data(), 3));
    ASSERT_TRUE(hwi_.__createDev());
    ASSERT_TRUE(hwi_.getKeyConfiguration(0, 1, config_.data(), 3));
    EXPECT_EQ(config_[2], 4);
}

TEST_F(ExportedInterface, WithoutAnOpenDeviceEveryTransferFails) {
    hwi_.__closeDev();
    std::vector<int> area(kLightArrayLength, 0);
    wchar_t text[64];
    MessageRecorder window;
    EXPECT_FALSE(hwi_.prepare());
    EXPECT_FALSE(hwi_.getKeyConfiguration(0, 1, config_.data(), 10));
    EXPECT_FALSE(hwi_.writeKeyConfigurationToDev(window.window()));
    EXPECT_FALSE(hwi_.readKeyDefinationFromDev(window.window()));
    EXPECT_FALSE(hwi_.setKeyboardLightArea(area.data()));
    EXPECT_FALSE(hwi_.getKeyboardLightArea(area.data()));
    EXPECT_FALSE(hwi_.readKeyLightFromDev());
    EXPECT_FALSE(hwi_.getPressCounterFromDev(area.data()));
    EXPECT_FALSE(hwi_.ReadKeyboardVersion(text));
    EXPECT_FALSE(hwi_.WriteFirmwareToKeyboard(":00000001FF", 11, window.window()));
    EXPECT_EQ(hwi_.getHardwareVersion()[0], L'\0');
    EXPECT_TRUE(keyboard_->received().empty());
}

TEST_F(ExportedInterface, LightValuesAreStoredAsTheirLowByte) {
    std::vector<int> lights(kLightArrayLength, 0);
    lights[0] = 300;
    lights[308] = 255;
    ASSERT_TRUE(hwi_.setKeyboardLightArea(lights.data()));
    std::vector<int> read(kLightArrayLength, -1);
    ASSERT_TRUE(hwi_.getKeyboardLightArea(read.data()));
    EXPECT_EQ(read[0], 44);
    EXPECT_EQ(read[308], 255);
    ASSERT_TRUE(keyboard_->waitForReceived(8, 2000));
    EXPECT_EQ(keyboard_->received()[1][3], 44);
}

TEST_F(ExportedInterface, LightWriteReportsAKeyboardThatWentAway) {
    keyboard_.reset();
    std::vector<int> lights(kLightArrayLength, 1);
    EXPECT_FALSE(hwi_.setKeyboardLightArea(lights.data()));
}

TEST_F(ExportedInterface, CountersArriveAsLittleEndianIntegers) {
    Payload first =
        ScriptedKeyboard::payload({0x00, 0xE3, 61, 0x01, 0x02, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F});
    keyboard_->setScript(answerEach(0xE3, {first, ScriptedKeyboard::payload({0x00, 0xE6})}));
    std::vector<int> counters(kCounterArrayLength, -1);
    ASSERT_TRUE(hwi_.getPressCounterFromDev(counters.data()));
    EXPECT_EQ(counters[0], 0x0201);
    EXPECT_EQ(counters[1], 0x7FFFFFFF);
    EXPECT_EQ(counters[2], 0);
}

TEST_F(ExportedInterface, SilentKeyboardFailsTheReadAfterTheTimeOut) {
    keyboard_->setScript(answerEach(0xE3, {}, Then::Silence));
    std::vector<int> counters(kCounterArrayLength, -1);
    EXPECT_FALSE(hwi_.getPressCounterFromDev(counters.data()));
    EXPECT_EQ(counters[0], 0) << "the counters held before are still handed out";
}

TEST_F(ExportedInterface, VersionIsPayloadBytes2To63) {
    Payload reply = ScriptedKeyboard::payload({0x00, 0xF9, 'Z', 'a', 'r', 'n', ' ', 'V', '1', '.', '0', '5'});
    keyboard_->setScript(answerEach(0xF9, {reply}));
    std::vector<wchar_t> text(64, L'#');
    ASSERT_TRUE(hwi_.ReadKeyboardVersion(text.data()));
    EXPECT_EQ(std::wstring(text.data()), L"Zarn V1.05");
    EXPECT_EQ(text[61], L'\0');
    EXPECT_EQ(text[62], L'#');
    EXPECT_EQ(keyboard_->received().back(), ScriptedKeyboard::payload({0x00, 0xF9}));
    EXPECT_EQ(std::wstring(hwi_.getHardwareVersion()), L"Zarn V1.05");
}

// A message is a report only when it is exactly 65 bytes; a longer one was
// cut and taken whole, a shorter one taken with stale bytes behind it.
TEST_F(ExportedInterface, MessagesOfAnyOtherLengthThan65FailTheRead) {
    for (const std::size_t size : {std::size_t{2}, std::size_t{64}, std::size_t{66}, std::size_t{200}}) {
        std::vector<std::uint8_t> message(size, 'v');
        message[0] = 0x00;
        message[1] = 0x00;
        keyboard_->setScript([message](const Payload& request) {
            ScriptedKeyboard::Answer answer;
            if (request[1] == 0xF9) {
                answer.messages = {message};
            }
            return answer;
        });
        std::vector<wchar_t> text(64, L'#');
        EXPECT_FALSE(hwi_.ReadKeyboardVersion(text.data())) << size << " bytes";
        EXPECT_EQ(text[0], L'#') << size << " bytes";
    }
}

TEST_F(ExportedInterface, VersionWithoutZeroBytesFillsAll62Characters) {
    Payload reply{};
    std::fill(reply.begin() + 2, reply.end(), 'x');
    keyboard_->setScript(answerEach(0xF9, {reply}));
    std::vector<wchar_t> text(64, L'#');
    ASSERT_TRUE(hwi_.ReadKeyboardVersion(text.data()));
    EXPECT_EQ(std::wstring(text.data(), 62), std::wstring(62, L'x'));
    EXPECT_EQ(text[62], L'#');
}

TEST_F(ExportedInterface, VersionByteTheCharacterSetCannotReadKeepsItsPlace) {
    Payload reply = ScriptedKeyboard::payload({0x00, 0xF9, 'A', 0xE9, 'B'});
    keyboard_->setScript(answerEach(0xF9, {reply}));
    std::vector<wchar_t> text(64, L'#');
    ASSERT_TRUE(hwi_.ReadKeyboardVersion(text.data()));
    EXPECT_EQ(std::wstring(text.data()), L"A\u00E9B");
}

TEST_F(ExportedInterface, KeyTableTravelsThroughTheExports) {
    MessageRecorder window;
    const std::vector<int> macro{2, 0, 1, 0, 0, 54};
    std::vector<int> config = macro;
    config.resize(6 + 54, 9);
    ASSERT_TRUE(hwi_.setKeyConfiguration(0, 1, config.data(), static_cast<int>(config.size())));
    ASSERT_TRUE(hwi_.writeKeyConfigurationToDev(window.window()));
    ASSERT_TRUE(keyboard_->waitForReceived(209, 2000));
    EXPECT_EQ(window.wParams(UM_DEVICE_PROGRESS).size(), 206u);

    const auto sent = keyboard_->received();
    std::vector<Payload> answer(sent.begin() + 1, sent.begin() + 3);
    answer.push_back(ScriptedKeyboard::payload({0xF6}));
    keyboard_->setScript(answerEach(0xF2, answer));
    ASSERT_TRUE(hwi_.prepare());
    ASSERT_TRUE(hwi_.readKeyDefinationFromDev(window.window()));
    ASSERT_TRUE(hwi_.getKeyConfiguration(0, 1, config_.data(), static_cast<int>(config_.size())));
    EXPECT_EQ(std::vector<int>(config_.begin(), config_.begin() + 60), config);
}

} // namespace
