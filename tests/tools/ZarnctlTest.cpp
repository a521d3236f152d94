#include "model/Catalogue.h"
#include "tests/support/ScriptedKeyboard.h"
#include "tests/tools/JsonChecker.h"
#include "tests/tools/ZarnctlFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST_F(ZarnctlTest, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"bogus"},
        {"--frobnicate", "list"},
        {"--simulate=Zarnn", "list"},
        {"--simulate=Zarn", "show", "--layer", "2"},
        {"--simulate=Zarn", "show", "--layer"},
        {"--simulate=Zarn", "counters", "--xml"},
        {"--simulate=Zarn", "reset", "now"},
        {"--simulate=Zarn", "write-keys"},
        {"--simulate=Zarn", "defaults", "a.pro", "b.pro"},
        {"--simulate=Zarn", "flash", "--quick", "Zarn_v2.hex"},
        {"--simulate=Zarn", "flash"},
        // A switch of another command is unknown here.
        {"--simulate=Zarn", "read-keys", "--verify", "a.pro"},
        {"--simulate=Zarn", "write-lights", "--force", "a.pro"},
        {"--simulate=Zarn", "diff", "--no-restore", "a.pro"},
        {"--simulate=Zarn", "flash", "--json", "Zarn_v2.hex"},
    };
    for (const auto& args : cases) {
        const CliRun run = zarnctl(args);
        std::string joined;
        for (const std::string& arg : args) {
            joined += arg + " ";
        }
        EXPECT_EQ(run.status, 2) << joined << "\n" << run.err;
        EXPECT_FALSE(run.err.empty()) << joined;
    }
}

TEST_F(ZarnctlTest, EveryCommandHasHelp) {
    const CliRun top = zarnctl({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"list", "version", "counters", "show", "reset", "read-keys", "write-keys",
                                "write-lights", "defaults", "flash"}) {
        EXPECT_NE(top.out.find(std::string("  ") + command), std::string::npos) << command;
        const CliRun run = zarnctl({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_EQ(run.out.rfind(std::string("Usage: zarnctl [--simulate[=MODEL]] ") + command, 0), 0u)
            << run.out;
    }
}

TEST_F(ZarnctlTest, WithoutAKeyboardEveryDeviceCommandExitsWithThree) {
    writeFile(path("Zarn_v2.hex"), ":00000001FF\r\n");
    const std::vector<std::vector<std::string>> cases = {
        {"list"},
        {"version"},
        {"counters"},
        {"show"},
        {"reset"},
        {"read-keys", path("a.pro")},
        {"write-keys", path("a.pro")},
        {"write-lights", path("a.pro")},
        {"defaults", path("a.pro")},
        {"flash", path("Zarn_v2.hex")},
    };
    for (const auto& args : cases) {
        const CliRun run = zarnctl(args);
        EXPECT_EQ(run.status, 3) << args.front() << "\n" << run.err;
        EXPECT_NE(run.err.find("Keyboard is not connected!"), std::string::npos) << args.front();
    }
    EXPECT_FALSE(fs::exists(path("a.pro")));
}

TEST_F(ZarnctlTest, ListsTheSimulatedKeyboardFirst) {
    const CliRun run = zarnctl({"--simulate=ZarnBT", "list"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("ZarnBT\t2\t", 0), 0u) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
}

TEST_F(ZarnctlTest, PrintsTheVersion) {
    const CliRun run = zarnctl({"--simulate=Zarn", "version"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_GT(run.out.size(), 1u);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST_F(ZarnctlTest, ResetThenShowGivesTheFactoryFnLayer) {
    const CliRun reset = zarnctl({"--simulate=Zarn", "reset"});
    ASSERT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.err.find("Writing keys ["), std::string::npos);
    EXPECT_NE(reset.err.find("100%"), std::string::npos);

    const CliRun show = zarnctl({"--simulate=Zarn", "show", "--layer", "1"});
    ASSERT_EQ(show.status, 0) << show.err;
    // Not a terminal: one finished line per transfer, no carriage returns;
    // then what the keyboard sent (it sends no entry for a key not set).
    EXPECT_EQ(show.err, "Reading keys [########################################] 100%\n"
                        "zarnctl show: read 111 of 206 keys\n");
    EXPECT_EQ(reset.err.find('\r'), std::string::npos);
    EXPECT_EQ(show.out.rfind("Fn layer of Zarn\n", 0), 0u) << show.out;
    EXPECT_EQ(std::count(show.out.begin(), show.out.end(), '\n'), 1 + kKeyCount);
    EXPECT_EQ(lineOf(show.out, "  1 "), "  1  Esc        Function   Keyboard Lock");
    EXPECT_EQ(lineOf(show.out, " 11 "), " 11  F10        Not set");
    EXPECT_EQ(lineOf(show.out, " 72 "), " 72  Fn         Function   FN");
    EXPECT_EQ(lineOf(show.out, " 78 "), " 78  Insert     Not set");

    const CliRun top = zarnctl({"--simulate=Zarn", "show"});
    ASSERT_EQ(top.status, 0) << top.err;
    EXPECT_EQ(lineOf(top.out, " 43 "), " 43  A          Single     A");
    EXPECT_EQ(lineOf(top.out, " 73 "), " 73  Ctrl       Single     RCTRL");
}

// Answers the version query, so that it takes writes.
ScriptedKeyboard::Script answersItsVersion() {
    return [](const ScriptedKeyboard::Payload& request) {
        ScriptedKeyboard::Answer answer;
        if (request[1] == 0xF9) {
            answer.replies.push_back(ScriptedKeyboard::payload({0x00, 0xF9, 'Z', 'a', 'r', 'n'}));
        }
        return answer;
    };
}

TEST_F(ZarnctlTest, ResetAsksForTheVersionThenSendsTheKeyTableAndNothingElse) {
    const ScriptedKeyboard keyboard(answersItsVersion(), ScriptedKeyboardIdentity{0x0483, 0x5239, 1});
    environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + keyboard.socketPath();
    const CliRun reset = zarnctl({"reset"});
    ASSERT_EQ(reset.status, 0) << reset.err;

    // The version query, the begin request, 206 entries and the end report;
    // no request after it.
    ASSERT_TRUE(keyboard.waitForReceived(3 + 2 * kKeyCount, 5000));
    EXPECT_FALSE(keyboard.waitForReceived(4 + 2 * kKeyCount, 300));
    const auto reports = keyboard.received();
    EXPECT_EQ(reports[0], ScriptedKeyboard::payload({0x00, 0xF9}));
    EXPECT_EQ(reports[1], ScriptedKeyboard::payload({0x00, 0xF1}));
    ScriptedKeyboard::Payload end{};
    std::fill(end.begin() + 1, end.end(), std::uint8_t{0xF6});
    EXPECT_EQ(reports.back(), end);
    // Layer 2 key 72 of a Zarn: FN (156); layer 2 key 11: an empty entry.
    EXPECT_EQ(reports[2 + 103 + 71], ScriptedKeyboard::payload({0x00, 0xF0, 2, 72, 0, 1, 156}));
    EXPECT_EQ(reports[2 + 103 + 10], ScriptedKeyboard::payload({0x00, 0xF0, 2, 11, 0, 0}));
}

TEST_F(ZarnctlTest, ModelsKeepTheirOwnFactoryLayers) {
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "reset"}).status, 0);
    const CliRun show = zarnctl({"--simulate=ZarnRGB", "show", "--layer=1"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(lineOf(show.out, " 11 "), " 11  F10        Function   Backlight Switch");
}

TEST(JsonChecker, TellsValidFromInvalid) {
    for (const char* good : {"{}", "[1, -2, \"a\\\\b\"]", "{\"a\": null, \"b\": [true, false]}"}) {
        EXPECT_TRUE(JsonChecker(good).valid()) << good;
    }
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"a\\q\"", "[1] 2", "{\"k\": \"\\\"}"}) {
        EXPECT_FALSE(JsonChecker(bad).valid()) << bad;
    }
}

TEST_F(ZarnctlTest, CountersAsTextAndAsJson) {
    const CliRun json = zarnctl({"--simulate", "counters", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(JsonChecker(json.out).valid()) << json.out;
    // The simulator's demo counters have Space as the most and ScrollLock as
    // the least used key.
    EXPECT_NE(json.out.find("\"mostUsedKey\": {\"key\": 70, \"label\": \"Space\""), std::string::npos);
    EXPECT_NE(json.out.find("\"leastUsedKey\": {\"key\": 85, \"label\": \"ScrollLock\""), std::string::npos);
    // The backslash key's label must arrive escaped.
    EXPECT_NE(json.out.find("\"label\": \"\\\\\""), std::string::npos);

    const CliRun text = zarnctl({"--simulate", "counters"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), kKeyCount + 2);
    EXPECT_EQ(lineOf(text.out, "Most used key: ").rfind("Most used key: Space (key 70, ", 0), 0u) << text.out;
    EXPECT_EQ(lineOf(text.out, "Least used key: ").rfind("Least used key: ScrollLock (key 85, ", 0), 0u);
}

// An area as the keyboard sends it: chunks of 61 bytes marked `marker`, then
// the end marker.
std::vector<ScriptedKeyboard::Payload> areaReplies(std::uint8_t marker,
                                                   const std::vector<std::uint8_t>& area) {
    std::vector<ScriptedKeyboard::Payload> replies;
    for (std::size_t offset = 0; offset < area.size(); offset += 61) {
        const std::size_t n = std::min<std::size_t>(61, area.size() - offset);
        auto chunk = ScriptedKeyboard::payload({0x00, marker, static_cast<std::uint8_t>(n)});
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(offset), n, chunk.begin() + 3);
        replies.push_back(chunk);
    }
    ScriptedKeyboard::Payload end{};
    end.fill(0xE6);
    replies.push_back(end);
    return replies;
}

// The 412 bytes of the counter area, every counter `count` except key 1's,
// which is 0xFFFFFFFF.
std::vector<ScriptedKeyboard::Payload> counterArea(std::uint8_t count) {
    std::vector<std::uint8_t> area(4 * kKeyCount, 0);
    for (std::size_t at = 0; at < area.size(); at += 4) {
        area[at] = count;
    }
    std::fill_n(area.begin(), 4, std::uint8_t{0xFF});
    return areaReplies(0xE3, area);
}

// A Zarn that answers each request listed with its replies, and nothing else.
class AnsweringZarn {
public:
    explicit AnsweringZarn(std::map<std::uint8_t, std::vector<ScriptedKeyboard::Payload>> answers)
        : keyboard_(
              [answers = std::move(answers)](const ScriptedKeyboard::Payload& request) {
                  ScriptedKeyboard::Answer answer;
                  if (const auto found = answers.find(request[1]); found != answers.end()) {
                      answer.replies = found->second;
                  }
                  return answer;
              },
              ScriptedKeyboardIdentity{0x0483, 0x5239, 1}) {}
    std::string entry() const { return "0483:5239:1=" + keyboard_.socketPath(); }

private:
    ScriptedKeyboard keyboard_;
};

// Counters are unsigned 32-bit on the keyboard; they were printed signed.
TEST_F(ZarnctlTest, CountersAreUnsigned) {
    const AnsweringZarn keyboard({{0xE3, counterArea(3)}});
    environment_["ZARN_VIRTUAL_HID"] = keyboard.entry();
    const CliRun json = zarnctl({"counters", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"mostUsedKey\": {\"key\": 1, \"label\": \"Esc\", \"count\": 4294967295}"),
              std::string::npos)
        << json.out;
    const CliRun text = zarnctl({"counters"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("  1  Esc        4294967295\n", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("Most used key: Esc (key 1, 4294967295 presses)"), std::string::npos) << text.out;
}

// A keyboard that answers a key read with its end marker alone has sent no
// key: read-keys used to save that as a table of unset keys with exit 0.
TEST_F(ZarnctlTest, ReadsSayWhatTheyBroughtAndNoKeyOverwritesNoProfile) {
    const ScriptedKeyboard::Payload tableEnd = ScriptedKeyboard::payload({0xF6});
    const AnsweringZarn keyboard(
        {{0xF2, {tableEnd}}, {0xE2, areaReplies(0xE0, std::vector<std::uint8_t>(3 * kKeyCount, 9))}});
    environment_["ZARN_VIRTUAL_HID"] = keyboard.entry();

    writeFile(path("mine.pro"), "previous");
    const CliRun refused = zarnctl({"read-keys", path("mine.pro")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("read 0 of 206 keys"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find(path("mine.pro") + " is left as it was (--force overwrites it)"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(readFile(path("mine.pro")), "previous");

    const CliRun forced = zarnctl({"read-keys", "--force", path("mine.pro")});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(readFile(path("mine.pro")), "previous");
    const CliRun fresh = zarnctl({"read-keys", path("new.pro")});
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_NE(fresh.err.find("zarnctl read-keys: read 0 of 206 keys, 103 of 103 colours\n"),
              std::string::npos)
        << fresh.err;

    const CliRun shown = zarnctl({"show"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.err.find("zarnctl show: read 0 of 206 keys\n"), std::string::npos) << shown.err;
}

// An early end marker gave counters partly from the keyboard and partly
// zero, with exit 0.
TEST_F(ZarnctlTest, CountersCutShortAreAFailedRead) {
    std::vector<ScriptedKeyboard::Payload> cut = counterArea(3);
    cut.erase(cut.begin() + 1, cut.end() - 1);
    const AnsweringZarn keyboard({{0xE3, cut}});
    environment_["ZARN_VIRTUAL_HID"] = keyboard.entry();
    const CliRun run = zarnctl({"counters", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Reading the counters failed (read 15 of 103 counters)."), std::string::npos)
        << run.err;
}

TEST_F(ZarnctlTest, ProfilesTravelBetweenFileAndKeyboard) {
    const std::string factory = path("factory.pro");
    const std::string back = path("back.pro");
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "defaults", factory}).status, 0);
    ASSERT_TRUE(fs::exists(factory));
    const CliRun write = zarnctl({"--simulate=ZarnRGB", "write-keys", factory});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_NE(write.err.find("Writing keys ["), std::string::npos);
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "write-lights", factory}).status, 0);
    const CliRun read = zarnctl({"--simulate=ZarnRGB", "read-keys", back});
    ASSERT_EQ(read.status, 0) << read.err;
    // Factory keys are single codes and the colours all black: the keyboard
    // gives back exactly what was written.
    const std::string wrote = readFile(factory);
    const std::string gotBack = readFile(back);
    const auto differ = std::mismatch(wrote.begin(), wrote.end(), gotBack.begin(), gotBack.end());
    EXPECT_TRUE(differ.first == wrote.end() && differ.second == gotBack.end())
        << "first difference at byte " << (differ.first - wrote.begin()) << ": "
        << std::string(differ.first, std::min(differ.first + 80, wrote.end())) << " / "
        << std::string(differ.second, std::min(differ.second + 80, gotBack.end()));
}

TEST_F(ZarnctlTest, ProfilesThatCannotBeUsedExitWithFour) {
    const std::string other = path("other.pro");
    ASSERT_EQ(zarnctl({"--simulate=ZarnBT", "defaults", other}).status, 0);
    writeFile(path("garbage.pro"), "this is no profile");
    // Found at load, not when the keys are written ("Writing the keys failed.", exit 1).
    writeFile(path("playmode.pro"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Zarn><CurrentSettings>"
                                    "<KEY ID=\"5\" Level=\"1\" Mode=\"3\" HWCode=\"0\"><ComboKey>"
                                    "<List PlayMode=\"5\"><x ID=\"0\" t1=\"A\"/></List></ComboKey></KEY>"
                                    "</CurrentSettings></Zarn>\r\n");
    // Each says why in words, never with the XML component's result entries.
    const std::pair<std::string, std::string> refusals[] = {
        {path("missing.pro"),
         "The profile " + path("missing.pro") + " could not be read: No such file or directory\n"},
        {path("garbage.pro"), "The file " + path("garbage.pro") + " is not a profile: no root element\n"},
        {other, "The profile " + other + " does not belong to Zarn: root element ZarnBT\n"},
        {path("playmode.pro"), "The profile " + path("playmode.pro") +
                                   " holds a value the keyboard cannot take: KEY ID=5 Level=1: PlayMode 5 is "
                                   "not a play mode (0 to 2)\n"},
    };
    for (const auto& [profile, message] : refusals) {
        for (const char* command : {"write-keys", "write-lights"}) {
            const CliRun run = zarnctl({"--simulate=Zarn", command, profile});
            EXPECT_EQ(run.status, 4) << command << " " << profile << "\n" << run.err;
            EXPECT_EQ(run.err, message);
        }
    }
    const CliRun unwritable = zarnctl({"--simulate=Zarn", "defaults", path("no/such/folder/x.pro")});
    EXPECT_EQ(unwritable.status, 4) << unwritable.err;
}

// A FIFO blocked the reader for good, and a save replaced a FIFO or even a
// device node (zarnctl defaults /dev/null as root) by a plain file.
TEST_F(ZarnctlTest, ProfilesAreNeitherReadFromNorSavedOverWhatIsNotAFile) {
    const std::string fifo = path("fifo.pro");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CliRun read = zarnctl({"--simulate=Zarn", "write-keys", fifo});
    EXPECT_EQ(read.status, 4);
    EXPECT_EQ(read.err, "The profile " + fifo + " could not be read: not a regular file\n");

    std::vector<std::string> targets{fifo};
    const std::string node = path("null.pro");
    if (::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        targets.push_back(node);
    }
    for (const std::string& target : targets) {
        const CliRun saved = zarnctl({"--simulate=Zarn", "defaults", target});
        EXPECT_EQ(saved.status, 4) << target;
        EXPECT_EQ(saved.err, "The profile " + target + " could not be written: not a regular file\n");
        EXPECT_FALSE(fs::is_regular_file(target)) << target << " was replaced";
    }
}

TEST_F(ZarnctlTest, FlashChecksTheNameThenDownloads) {
    writeFile(path("ZarnBT_v2.hex"), firmwareImage());
    writeFile(path("zarn_v2.hex"), firmwareImage());
    writeFile(path("Zarn_v2.bin"), firmwareImage());
    writeFile(path("Zarn_empty.hex"), "");

    for (const char* refused : {"ZarnBT_v2.hex", "zarn_v2.hex"}) {
        const CliRun run = zarnctl({"--simulate=Zarn", "flash", path(refused)});
        EXPECT_EQ(run.status, 4) << refused;
        EXPECT_NE(run.err.find("The firmware does not match,please select Zarn\n"), std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("Downloading"), std::string::npos);
    }
    const CliRun missing = zarnctl({"--simulate=Zarn", "flash", path("Zarn_missing.hex")});
    EXPECT_EQ(missing.status, 4);
    EXPECT_NE(missing.err.find("Can't open firmware file"), std::string::npos) << missing.err;
    const CliRun empty = zarnctl({"--simulate=Zarn", "flash", path("Zarn_empty.hex")});
    EXPECT_EQ(empty.status, 4);
    EXPECT_NE(empty.err.find("Firmware download failed."), std::string::npos) << empty.err;

    const CliRun flashed = zarnctl({"--simulate=Zarn", "flash", path("Zarn_v2.bin")});
    ASSERT_EQ(flashed.status, 0) << flashed.err;
    EXPECT_NE(flashed.err.find("Downloading firmware ["), std::string::npos);
    EXPECT_NE(flashed.err.find("100%"), std::string::npos);
    EXPECT_NE(flashed.out.find("The Firmware is downloaded successfully.\n"), std::string::npos)
        << flashed.out;

    const CliRun forced = zarnctl({"--simulate=Zarn", "flash", "--force", path("ZarnBT_v2.hex")});
    EXPECT_EQ(forced.status, 0) << forced.err;
}

// A folder aborted zarnctl with an uncaught exception, /dev/zero was read
// until memory ran out and a FIFO waited for a writer forever.
TEST_F(ZarnctlTest, FlashRefusesWhatIsNotAFileAtOnce) {
    fs::create_directory(path("Zarn_folder"));
    ASSERT_EQ(::mkfifo(path("Zarn_fifo.hex").c_str(), 0600), 0);
    for (const std::string& firmware :
         {path("Zarn_folder"), path("Zarn_fifo.hex"), std::string("/dev/zero")}) {
        const auto started = std::chrono::steady_clock::now();
        const CliRun run = zarnctl({"--simulate=Zarn", "flash", "--force", firmware});
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << firmware;
        EXPECT_EQ(run.status, 4) << firmware << "\n" << run.err;
        EXPECT_NE(run.err.find("Can't open firmware file (" + firmware + ": "), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Downloading"), std::string::npos) << run.err;
    }
}

} // namespace
