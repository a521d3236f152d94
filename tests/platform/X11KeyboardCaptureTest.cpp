#include "platform/KeyboardCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

bool installed(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// An Xvfb server on a display number it picks itself, for the test's lifetime.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0",
                     "320x240x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        // The server writes its number again when it resets; the pipe stays
        // open so that write does not kill it.
        ready_ = ready[0];
        pollfd wait{ready_, POLLIN, 0};
        char number[16] = {};
        if (pid_ > 0 && ::poll(&wait, 1, 10000) > 0 && ::read(ready_, number, sizeof number - 1) > 0) {
            display_ = ":" + std::string(number, std::strcspn(number, "\n"));
        }
    }
    ~VirtualDisplay() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (ready_ >= 0) {
            ::close(ready_);
        }
    }
    const std::optional<std::string>& name() const { return display_; }

private:
    pid_t pid_ = -1;
    int ready_ = -1;
    std::optional<std::string> display_;
};

struct Seen {
    unsigned message;
    std::uint32_t vkCode;
    std::uint32_t flags;
};

class KeyLog {
public:
    KeyboardCaptureCallback callback() {
        return [this](unsigned message, const KBDLLHOOKSTRUCT& event) {
            std::lock_guard lock(mutex_);
            seen_.push_back({message, event.vkCode, event.flags});
            changed_.notify_all();
        };
    }
    // Waits until `count` events arrived (or a time-out) and takes them.
    std::vector<Seen> take(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return seen_.size() >= count; });
        return std::exchange(seen_, {});
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Seen> seen_;
};

bool contains(const std::vector<Seen>& events, unsigned message, std::uint32_t vkCode, std::uint32_t flags) {
    return std::any_of(events.begin(), events.end(), [&](const Seen& s) {
        return s.message == message && s.vkCode == vkCode && s.flags == flags;
    });
}

class X11CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!installed("Xvfb") || !installed("xdotool")) {
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        }
        ASSERT_TRUE(display_.name()) << "Xvfb did not start";
        if (const char* old = std::getenv("DISPLAY")) {
            oldDisplay_ = old;
        }
        ::setenv("DISPLAY", display_.name()->c_str(), 1);
    }
    void TearDown() override {
        if (oldDisplay_) {
            ::setenv("DISPLAY", oldDisplay_->c_str(), 1);
        } else {
            ::unsetenv("DISPLAY");
        }
    }

    static void press(const std::string& keys) { ASSERT_EQ(std::system(("xdotool key " + keys).c_str()), 0); }

    VirtualDisplay display_;
    std::optional<std::string> oldDisplay_;
};

TEST_F(X11CaptureTest, GrabbedKeysArriveAsKeyMessages) {
    KeyLog log;
    std::string error;
    auto capture = StartKeyboardCapture(log.callback(), &error);
    ASSERT_TRUE(capture) << error;

    press("a");
    auto events = log.take(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(contains(events, WM_KEYDOWN, 0x41, 0));
    EXPECT_TRUE(contains(events, WM_KEYUP, 0x41, 0));

    // xdotool presses the left modifier along with the right one: look for the right one among them.
    press("Shift_R");
    events = log.take(2);
    EXPECT_TRUE(contains(events, WM_KEYDOWN, 0xA1, 0));
    EXPECT_TRUE(contains(events, WM_KEYUP, 0xA1, 0));

    press("Control_R");
    events = log.take(2);
    EXPECT_TRUE(contains(events, WM_KEYDOWN, 0xA3, LLKHF_EXTENDED));

    press("KP_Enter Right");
    events = log.take(4);
    EXPECT_TRUE(contains(events, WM_KEYDOWN, 0x0D, LLKHF_EXTENDED));
    EXPECT_TRUE(contains(events, WM_KEYUP, 0x27, LLKHF_EXTENDED));

    press("alt+b");
    events = log.take(4);
    EXPECT_TRUE(contains(events, WM_SYSKEYDOWN, 0xA4, 0));
    EXPECT_TRUE(contains(events, WM_SYSKEYDOWN, 0x42, 0));
}

TEST_F(X11CaptureTest, EndingTheCaptureGivesTheKeyboardBack) {
    KeyLog log;
    std::string error;
    auto first = StartKeyboardCapture(log.callback(), &error);
    ASSERT_TRUE(first) << error;
    first.reset();
    // A second grab only succeeds when the first one was released.
    auto second = StartKeyboardCapture(log.callback(), &error);
    ASSERT_TRUE(second) << error;
    press("c");
    EXPECT_TRUE(contains(log.take(2), WM_KEYDOWN, 0x43, 0));
}

TEST(KeyboardCaptureStart, FailsWithAReasonWhenNoSourceCanGrab) {
    std::string error;
    EXPECT_FALSE(StartKeyboardCapture(nullptr, &error));
    EXPECT_FALSE(error.empty());

    // Only where grabbing the evdev devices cannot take a real keyboard away from its user.
    if (std::filesystem::exists("/dev/input")) {
        GTEST_SKIP() << "this machine has input devices";
    }
    std::optional<std::string> display;
    if (const char* value = std::getenv("DISPLAY")) {
        display = value;
    }
    ::unsetenv("DISPLAY");
    error.clear();
    EXPECT_FALSE(StartKeyboardCapture([](unsigned, const KBDLLHOOKSTRUCT&) {}, &error));
    EXPECT_NE(error.find("/dev/input"), std::string::npos) << error;
    if (display) {
        ::setenv("DISPLAY", display->c_str(), 1);
    }
}

} // namespace
