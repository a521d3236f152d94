#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

int exitCodeOf(const std::string& arguments, const std::string& errorFile) {
    const int status =
        std::system((std::string(ZARN_SIM_PATH) + " " + arguments + " >/dev/null 2>" + errorFile).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// zarn-sim as its own process, as a user or a demo script runs it.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> arguments) {
        pid_ = ::fork();
        if (pid_ == 0) {
            std::vector<char*> argv{const_cast<char*>(ZARN_SIM_PATH)};
            for (auto& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            ::execv(ZARN_SIM_PATH, argv.data());
            ::_exit(127);
        }
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The exit code, or -1 when it has not ended within the time.
    int wait(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }
    void signal(int number) const { ::kill(pid_, number); }

private:
    pid_t pid_ = -1;
};

bool connectWithin(SimClient& client, const std::string& socket, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (client.connect(socket)) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class SimProgramTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(directory_); }
    std::string directory_ = RunningSim::makeTemporaryDirectory();
    std::string socket_ = directory_ + "/k.sock";
};

TEST_F(SimProgramTest, RefusesBadArgumentsWithAReason) {
    const std::string errors = directory_ + "/errors";
    EXPECT_EQ(exitCodeOf("--help", errors), 0);
    struct Case {
        std::string arguments;
        int code;
        std::string reason;
    };
    std::ofstream(directory_ + "/bad.state") << "zarn-sim state 1\n";
    const Case cases[] = {
        {"", 2, "--model and --socket are required"},
        {"--model Zarn --socket " + socket_ + " --latency-us fast", 2, "bad value"},
        {"--model Zarn --socket " + socket_ + " --frobnicate", 2, "unknown argument"},
        {"--model Zarn --socket", 2, "needs a value"},
        // Everything typed wrong is a usage error, found before anything starts.
        {"--model Zarn2 --socket " + socket_, 2, "unknown model"},
        {"--model Zarn --socket " + socket_ + " --counters lots", 2, "lots"},
        {"--model Zarn --socket " + socket_ + " --version " + std::string(63, 'v'), 2, "62 bytes"},
        {"--model Zarn --socket " + socket_ + " --state " + directory_ + "/no/such/x.state", 2,
         "the folder of --state " + directory_ + "/no/such/x.state does not exist"},
        {"--model Zarn --socket " + socket_ + " --state " + directory_, 2, "is a folder, not a file"},
        {"--model Zarn --socket " + socket_ + " --trace /no/such/folder/t", 2, "the folder of --trace"},
        {"--model Zarn --socket " + socket_ + " --state " + directory_ + "/bad.state", 1, "refused"},
        {"--model Zarn --socket " + directory_, 2, "is a folder, not a file"},
        {"--model Zarn --socket " + directory_ + "/errors", 1, "not a socket"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exitCodeOf(c.arguments, errors), c.code) << c.arguments;
        EXPECT_NE(readFile(errors).find(c.reason), std::string::npos)
            << c.arguments << ": " << readFile(errors);
    }
}

TEST_F(SimProgramTest, AnswersAndEndsWhenItHangsUp) {
    SimProcess sim({"--model", "ZarnBT", "--socket", socket_, "--hangup-after=1"});
    SimClient host;
    ASSERT_TRUE(connectWithin(host, socket_, 5s));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    const auto reply = host.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply->data() + 3)), "ZarnBT V1.05");
    EXPECT_EQ(sim.wait(5s), 0);
    EXPECT_FALSE(std::filesystem::exists(socket_));
}

TEST_F(SimProgramTest, StopsCleanlyOnTerminateAndReplacesAStaleSocket) {
    for (int run = 0; run < 2; ++run) {
        SimProcess sim({"--model", "Zarn", "--socket", socket_});
        SimClient host;
        ASSERT_TRUE(connectWithin(host, socket_, 5s)) << "run " << run;
        if (run == 0) {
            // A killed keyboard leaves its socket file behind; the next run must still start.
            sim.signal(SIGKILL);
            EXPECT_NE(sim.wait(5s), 0);
            EXPECT_TRUE(std::filesystem::exists(socket_));
            continue;
        }
        // A second keyboard on a served socket is refused.
        EXPECT_EQ(exitCodeOf("--model Zarn --socket " + socket_, directory_ + "/errors"), 1);
        sim.signal(SIGTERM);
        EXPECT_EQ(sim.wait(5s), 0);
        EXPECT_FALSE(std::filesystem::exists(socket_));
    }
}

} // namespace
