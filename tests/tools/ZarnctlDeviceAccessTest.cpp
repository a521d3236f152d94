#include "platform/TransferLock.h"
#include "tests/support/RunningSim.h"
#include "tests/support/ScriptedKeyboard.h"
#include "tests/tools/ZarnctlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ZarnctlDeviceAccess : public ZarnctlTest {
protected:
    void use(const RunningSim& sim) { environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + sim.socketPath(); }
};

// The program is in the middle of a transfer with the keyboard: zarnctl must
// not interleave its reports with the program's, and says why it stopped.
TEST_F(ZarnctlDeviceAccess, AKeyboardBusyWithAnotherProgramExitsWithThreeAndSaysSo) {
    RunningSim sim;
    ASSERT_TRUE(sim.ok()) << sim.error();
    use(sim);
    TransferLock program(TransferLock::Kind::Socket, sim.socketPath());
    ASSERT_FALSE(program.acquire().failed());
    writeFile(path("keys.pro"), "");
    ASSERT_EQ(zarnctl({"defaults", path("keys.pro")}).status, 0) << "needs no transfer";

    const std::vector<std::vector<std::string>> commands = {
        {"version"}, {"counters"}, {"show"}, {"reset"}, {"write-keys", path("keys.pro")}};
    for (const auto& command : commands) {
        const CliRun run = zarnctl(command);
        EXPECT_EQ(run.status, 3) << command.front() << "\n" << run.err;
        EXPECT_NE(run.err.find(sim.socketPath() + " is busy: another program is using the keyboard."),
                  std::string::npos)
            << run.err;
    }
    program.release();
    EXPECT_EQ(zarnctl({"version"}).status, 0);
}

TEST_F(ZarnctlDeviceAccess, AKeyboardThatGoesAwayMidTransferExitsWithThree) {
    const ScriptedKeyboard unplugged([](const ScriptedKeyboard::Payload&) {
        ScriptedKeyboard::Answer answer;
        answer.then = ScriptedKeyboard::Answer::Then::HangUp;
        return answer;
    });
    environment_["ZARN_VIRTUAL_HID"] = "0483:5039:1=" + unplugged.socketPath();
    const CliRun run = zarnctl({"version"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.err, "Failed on reading keyboard version infomation\nThe keyboard went away (" +
                           unplugged.socketPath() + ").\n");
}

} // namespace
