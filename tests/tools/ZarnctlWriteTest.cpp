#include "model/Catalogue.h"
#include "tests/support/ScriptedKeyboard.h"
#include "tests/tools/JsonChecker.h"
#include "tests/tools/ZarnctlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Payload = ScriptedKeyboard::Payload;

// A keyboard that answers its version query and every read with nothing
// held, and takes writes without keeping them: a keyboard that stopped
// storing what it is sent.
ScriptedKeyboard::Script forgetsWrites() {
    return [](const Payload& request) {
        ScriptedKeyboard::Answer answer;
        if (request[1] == 0xF9) {
            answer.replies.push_back(ScriptedKeyboard::payload({0x00, 0xF9, 'Z', 'a', 'r', 'n'}));
        } else if (request[1] == 0xF2) {
            Payload end{};
            end.fill(0xF6);
            answer.replies.push_back(end);
        } else if (request[1] == 0xE2) {
            answer.replies.push_back(ScriptedKeyboard::payload({0x00, 0xE0, 3, 9, 9, 9}));
            Payload end{};
            end.fill(0xE6);
            answer.replies.push_back(end);
        }
        return answer;
    };
}

class ZarnctlWrite : public ZarnctlTest {
protected:
    void use(const ScriptedKeyboard& keyboard, const char* product) {
        environment_["ZARN_VIRTUAL_HID"] = std::string("0483:") + product + ":1=" + keyboard.socketPath();
    }
};

// Writes get no answer: a keyboard that does not answer its version query
// is not written to, and the command fails instead of saying "written".
TEST_F(ZarnctlWrite, AKeyboardThatDoesNotAnswerIsNotWritten) {
    const ScriptedKeyboard silent;
    use(silent, "5239");
    const CliRun run = zarnctl({"reset"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.err, "Nothing was written.\nThe keyboard did not answer (" + silent.socketPath() + ").\n");
    EXPECT_EQ(run.out, "");
    const auto received = silent.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0][1], 0xF9);
}

TEST_F(ZarnctlWrite, VerifyReadsBackAndNamesTheKeysThatDiffer) {
    const ScriptedKeyboard forgetful(forgetsWrites(), ScriptedKeyboardIdentity{0x0483, 0x5239, 1});
    use(forgetful, "5239");
    const CliRun run = zarnctl({"reset", "--verify"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "Factory assignment of Zarn written.\n");
    EXPECT_NE(run.err.find("Verification failed: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" keys differ from what was written: Esc (key 1, top layer), Esc (key 1, Fn "
                           "layer), F1 (key 2, top layer),"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("F10 (key 11, Fn layer)"), std::string::npos)
        << "empty on both sides: " << run.err;
}

TEST_F(ZarnctlWrite, VerifyPassesOnAKeyboardThatKeepsWhatItIsSent) {
    const std::string profile = path("rgb.pro");
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "defaults", profile}).status, 0);
    const CliRun keys = zarnctl({"--simulate=ZarnRGB", "write-keys", "--verify", profile});
    EXPECT_EQ(keys.status, 0) << keys.err;
    EXPECT_EQ(keys.out,
              "Keys of " + profile + " written.\nVerified: the keyboard holds every key as written.\n");
    const CliRun lights = zarnctl({"--simulate=ZarnRGB", "write-lights", profile, "--verify"});
    EXPECT_EQ(lights.status, 0) << lights.err;
    EXPECT_EQ(lights.out,
              "Colours of " + profile + " written.\nVerified: the keyboard holds every colour as written.\n");
    const CliRun reset = zarnctl({"--simulate=ZarnRGB", "reset", "--verify"});
    EXPECT_EQ(reset.status, 0) << reset.err;
}

TEST_F(ZarnctlWrite, VerifyNamesTheColoursThatDiffer) {
    const ScriptedKeyboard forgetful(forgetsWrites(), ScriptedKeyboardIdentity{0x0483, 0x5339, 1});
    use(forgetful, "5339");
    const std::string profile = path("rgb.pro");
    ASSERT_EQ(zarnctl({"defaults", profile}).status, 0);
    const CliRun run = zarnctl({"write-lights", "--verify", profile});
    EXPECT_EQ(run.status, 1) << run.err;
    // The keyboard gave 9, 9, 9 for key 1 where black was written.
    EXPECT_EQ(run.err, "Verification failed: 1 of 103 colours differ from what was written: Esc (key 1).\n");
}

TEST_F(ZarnctlWrite, ColoursForAModelWithoutBacklightAreRefusedUntouched) {
    const ScriptedKeyboard keyboard(forgetsWrites(), ScriptedKeyboardIdentity{0x0483, 0x5139, 1});
    use(keyboard, "5139");
    const std::string profile = path("bt.pro");
    ASSERT_EQ(zarnctl({"defaults", profile}).status, 0);
    const CliRun run = zarnctl({"write-lights", profile});
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(run.err, "The ZarnBT has no backlight: no colours were written.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(keyboard.received().empty());
}

TEST_F(ZarnctlWrite, VersionAndUsage) {
    const CliRun version = zarnctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zarnctl 1.0.5\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"reset", "--verfy"},
                                               {"write-keys", "--verify"},
                                               {"list", "--xml"},
                                               {"show", "--json", "x", "y"}}) {
        EXPECT_EQ(zarnctl(args).status, 2) << args.front() << " " << args.back();
    }
}

TEST_F(ZarnctlWrite, ListAndShowAsJson) {
    const CliRun list = zarnctl({"--simulate=Zarn", "list", "--json"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(JsonChecker(list.out).valid()) << list.out;
    EXPECT_NE(list.out.find("{\"model\": \"Zarn\", \"modelType\": 3, \"path\": \""), std::string::npos)
        << list.out;

    const CliRun show = zarnctl({"--simulate=Zarn", "show", "--json", "--layer=1"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(JsonChecker(show.out).valid()) << show.out;
    EXPECT_NE(show.out.find("\"layer\": 1"), std::string::npos);
    EXPECT_NE(
        show.out.find("{\"key\": 1, \"label\": \"Esc\", \"layer\": 1, \"mode\": 7, \"type\": "
                      "\"Function\", \"assignment\": \"Keyboard Lock\", \"values\": [\"Keyboard Lock\"]}"),
        std::string::npos)
        << show.out;
    EXPECT_NE(show.out.find("{\"key\": 41, \"label\": \"\\\\\""), std::string::npos)
        << "the backslash escaped";
}

} // namespace
