#include "model/Catalogue.h"
#include "tests/support/ScriptedKeyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Runs zarnctl as a user does, with its own state and runtime folders and a
// virtual keyboard list that names only what the test wants.
class ZarnctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zarnctl-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        fs::create_directories(folder_ / "state");
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
        environment_["XDG_STATE_HOME"] = (folder_ / "state").string();
        environment_["XDG_RUNTIME_DIR"] = (folder_ / "run").string();
        // A keyboard that is never there: no socket at that path.
        environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + (folder_ / "nowhere.sock").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    CliRun zarnctl(const std::vector<std::string>& args) {
        std::vector<std::string> argStrings{ZARNCTL_PATH};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : argStrings) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);

        std::map<std::string, std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            const std::size_t equals = text.find('=');
            if (equals != std::string::npos) {
                env[text.substr(0, equals)] = text.substr(equals + 1);
            }
        }
        for (const auto& [name, value] : environment_) {
            env[name] = value;
        }
        std::vector<std::string> envStrings;
        for (const auto& [name, value] : env) {
            envStrings.push_back(name + "=" + value);
        }
        std::vector<char*> envp;
        for (std::string& entry : envStrings) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        const fs::path outPath = folder_ / "stdout";
        const fs::path errPath = folder_ / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        CliRun run;
        const int spawned = posix_spawn(&pid, ZARNCTL_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << ZARNCTL_PATH;
            return run;
        }
        // A zarnctl that hangs (or reads without end) is killed rather than
        // left to stall the suite or fill the machine's memory.
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "zarnctl did not end within a minute";
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = readFile(outPath);
        run.err = readFile(errPath);
        return run;
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
    std::map<std::string, std::string> environment_;
};

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

std::string lineOf(const std::string& text, const std::string& start) {
    const std::size_t at = text.find("\n" + start);
    if (at == std::string::npos) {
        return {};
    }
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

TEST_F(ZarnctlTest, ResetThenShowGivesTheFactoryFnLayer) {
    const CliRun reset = zarnctl({"--simulate=Zarn", "reset"});
    ASSERT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.err.find("Writing keys ["), std::string::npos);
    EXPECT_NE(reset.err.find("100%"), std::string::npos);

    const CliRun show = zarnctl({"--simulate=Zarn", "show", "--layer", "1"});
    ASSERT_EQ(show.status, 0) << show.err;
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

TEST_F(ZarnctlTest, ResetSendsTheKeyTableAndNothingElseToAKeyboardOfItsOwn) {
    const ScriptedKeyboard keyboard({}, ScriptedKeyboardIdentity{0x0483, 0x5239, 1});
    environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + keyboard.socketPath();
    const CliRun reset = zarnctl({"reset"});
    ASSERT_EQ(reset.status, 0) << reset.err;

    // The begin request, 206 entries and the end report; no request after it.
    ASSERT_TRUE(keyboard.waitForReceived(2 + 2 * kKeyCount, 5000));
    EXPECT_FALSE(keyboard.waitForReceived(3 + 2 * kKeyCount, 300));
    const auto reports = keyboard.received();
    EXPECT_EQ(reports.front(), ScriptedKeyboard::payload({0x00, 0xF1}));
    ScriptedKeyboard::Payload end{};
    std::fill(end.begin() + 1, end.end(), std::uint8_t{0xF6});
    EXPECT_EQ(reports.back(), end);
    // Layer 2 key 72 of a Zarn: FN (156); layer 2 key 11: an empty entry.
    EXPECT_EQ(reports[1 + 103 + 71], ScriptedKeyboard::payload({0x00, 0xF0, 2, 72, 0, 1, 156}));
    EXPECT_EQ(reports[1 + 103 + 10], ScriptedKeyboard::payload({0x00, 0xF0, 2, 11, 0, 0}));
}

TEST_F(ZarnctlTest, ModelsKeepTheirOwnFactoryLayers) {
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "reset"}).status, 0);
    const CliRun show = zarnctl({"--simulate=ZarnRGB", "show", "--layer=1"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(lineOf(show.out, " 11 "), " 11  F10        Function   Backlight Switch");
}

// Just enough of JSON to tell a valid document from an invalid one.
class JsonChecker {
public:
    explicit JsonChecker(const std::string& text) : text_(text) {}
    bool valid() {
        skip();
        if (!value()) {
            return false;
        }
        skip();
        return at_ == text_.size();
    }

private:
    void skip() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    bool literal(const char* word) {
        const std::string w = word;
        if (text_.compare(at_, w.size(), w) != 0) {
            return false;
        }
        at_ += w.size();
        return true;
    }
    bool string() {
        if (text_[at_] != '"') {
            return false;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c == '\\') {
                ++at_;
                if (at_ >= text_.size() || std::string("\"\\/bfnrtu").find(text_[at_]) == std::string::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool number() {
        const std::size_t start = at_;
        if (text_[at_] == '-') {
            ++at_;
        }
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
        return at_ > start && std::isdigit(static_cast<unsigned char>(text_[at_ - 1]));
    }
    template <typename Member>
    bool sequence(char close, Member member) {
        ++at_;
        skip();
        if (at_ < text_.size() && text_[at_] == close) {
            ++at_;
            return true;
        }
        while (true) {
            skip();
            if (!member()) {
                return false;
            }
            skip();
            if (at_ >= text_.size()) {
                return false;
            }
            if (text_[at_] == close) {
                ++at_;
                return true;
            }
            if (text_[at_++] != ',') {
                return false;
            }
        }
    }
    bool value() {
        if (at_ >= text_.size()) {
            return false;
        }
        switch (text_[at_]) {
        case '{':
            return sequence('}', [this] {
                if (!string()) {
                    return false;
                }
                skip();
                if (at_ >= text_.size() || text_[at_++] != ':') {
                    return false;
                }
                skip();
                return value();
            });
        case '[':
            return sequence(']', [this] { return value(); });
        case '"':
            return string();
        case 't':
            return literal("true");
        case 'f':
            return literal("false");
        case 'n':
            return literal("null");
        default:
            return number();
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

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
    for (const std::string& profile : {path("missing.pro"), path("garbage.pro"), other}) {
        for (const char* command : {"write-keys", "write-lights"}) {
            const CliRun run = zarnctl({"--simulate=Zarn", command, profile});
            EXPECT_EQ(run.status, 4) << command << " " << profile << "\n" << run.err;
            EXPECT_NE(run.err.find(profile), std::string::npos) << run.err;
        }
    }
    const CliRun unwritable = zarnctl({"--simulate=Zarn", "defaults", path("no/such/folder/x.pro")});
    EXPECT_EQ(unwritable.status, 4) << unwritable.err;
}

std::string hexRecord(int address, int type, const std::vector<int>& data) {
    std::vector<int> bytes{static_cast<int>(data.size()), address >> 8 & 0xFF, address & 0xFF, type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    std::string line = ":";
    char digits[3];
    for (const int b : bytes) {
        sum += b;
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    std::snprintf(digits, sizeof digits, "%02X", -sum & 0xFF);
    return line + digits + "\r\n";
}

std::string firmwareImage() {
    std::string text = hexRecord(0, 0x04, {0x08, 0x00});
    for (int address = 0; address < 0x100; address += 16) {
        std::vector<int> data;
        for (int i = 0; i < 16; ++i) {
            data.push_back((address + i) * 7 & 0xFF);
        }
        text += hexRecord(address, 0x00, data);
    }
    return text + hexRecord(0, 0x01, {});
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
    EXPECT_EQ(flashed.out.rfind("The Firmware is downloaded successfully.\n", 0), 0u) << flashed.out;

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
