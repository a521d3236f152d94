#include "tests/tools/ZarnctlFixture.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string lineOf(const std::string& text, const std::string& start) {
    const std::size_t at = text.find("\n" + start);
    if (at == std::string::npos) {
        return {};
    }
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
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

// A small image the simulated boot loader takes as complete.
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

std::optional<uid_t> UnprivilegedUser() {
    if (::geteuid() != 0) {
        return std::nullopt;
    }
    // "nobody" on Debian; any id without an account works as well.
    return uid_t{65534};
}

void ZarnctlTest::SetUp() {
    ASSERT_TRUE(scratch_.made());
    folder_ = scratch_.path();
    fs::create_directories(folder_ / "state");
    fs::create_directories(folder_ / "run");
    fs::permissions(folder_ / "run", fs::perms::owner_all);
    environment_["XDG_STATE_HOME"] = (folder_ / "state").string();
    environment_["XDG_RUNTIME_DIR"] = (folder_ / "run").string();
    // A keyboard that is never there: no socket at that path.
    environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + (folder_ / "nowhere.sock").string();
}

CliRun ZarnctlTest::zarnctl(const std::vector<std::string>& args) {
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
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const int in = input_ ? ::open(input_->c_str(), O_RDONLY | O_CLOEXEC) : -1;
    CliRun run;
    if (out < 0 || err < 0) {
        ADD_FAILURE() << "cannot create the output files";
        return run;
    }
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a child of a threaded process.
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (in >= 0) {
            ::dup2(in, 0);
        }
        if (user_ && (::setgroups(0, nullptr) != 0 || ::setgid(*user_) != 0 || ::setuid(*user_) != 0)) {
            ::_exit(126);
        }
        ::execve(ZARNCTL_PATH, argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(err);
    if (in >= 0) {
        ::close(in);
    }
    if (pid < 0) {
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
