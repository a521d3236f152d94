#include "device/COrvoHWI.h"
#include "platform/HidTransport.h"
#include "platform/TransferLock.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The device library finds exactly the simulated keyboard given.
class FailureReason : public ::testing::Test {
protected:
    void use(const RunningSim& sim) {
        ::setenv(kVirtualHidVariable, ("0483:5239:1=" + sim.socketPath()).c_str(), 1);
    }
    void TearDown() override { ::unsetenv(kVirtualHidVariable); }
};

TEST_F(FailureReason, NoKeyboardIsNotFound) {
    ::unsetenv(kVirtualHidVariable);
    COrvoHWI device;
    ASSERT_FALSE(device.__createDev());
    EXPECT_EQ(device.lastFailure().kind, HidFailureKind::NotFound);
}

// Another program (holding the keyboard's transfer lock) is mid-transfer:
// every kind of transfer is turned away as busy instead of interleaving its
// reports, and goes through once the other program is done.
TEST_F(FailureReason, TransfersWaitForNoOneAndSayBusy) {
    RunningSim sim;
    ASSERT_TRUE(sim.ok()) << sim.error();
    use(sim);
    COrvoHWI device;
    ASSERT_TRUE(device.__createDev());
    EXPECT_FALSE(device.lastFailure().failed());

    TransferLock otherProgram(TransferLock::Kind::Socket, sim.socketPath());
    ASSERT_FALSE(otherProgram.acquire().failed());
    wchar_t version[kVersionTextLength] = {};
    std::vector<int> lights(kLightArrayLength), counters(kCounterArrayLength);
    const std::vector<std::pair<const char*, bool>> turnedAway = {
        {"version", device.ReadKeyboardVersion(version)},
        {"read keys", device.readKeyDefinationFromDev(WindowHandle())},
        {"write keys", device.writeKeyConfigurationToDev(WindowHandle())},
        {"read lights", device.readKeyLightFromDev()},
        {"write lights", device.setKeyboardLightArea(lights.data())},
        {"counters", device.getPressCounterFromDev(counters.data())},
        {"firmware", device.WriteFirmwareToKeyboard(":00000001FF\r\n", 13, WindowHandle())},
    };
    for (const auto& [what, succeeded] : turnedAway) {
        EXPECT_FALSE(succeeded) << what;
    }
    EXPECT_EQ(device.lastFailure().kind, HidFailureKind::Busy);
    EXPECT_EQ(device.lastFailure().node, sim.socketPath());

    otherProgram.release();
    EXPECT_TRUE(device.ReadKeyboardVersion(version));
    EXPECT_FALSE(device.lastFailure().failed());
    EXPECT_TRUE(device.readKeyDefinationFromDev(WindowHandle()));
}

TEST_F(FailureReason, AKeyboardThatWentAwayIsGone) {
    SimConfig config;
    config.server.hangupAfter = 1;
    RunningSim sim(config);
    ASSERT_TRUE(sim.ok()) << sim.error();
    use(sim);
    COrvoHWI device;
    ASSERT_TRUE(device.__createDev());
    wchar_t version[kVersionTextLength] = {};
    ASSERT_TRUE(device.ReadKeyboardVersion(version));
    sim.stop();
    EXPECT_FALSE(device.ReadKeyboardVersion(version));
    EXPECT_EQ(device.lastFailure().kind, HidFailureKind::Gone);
}

} // namespace
