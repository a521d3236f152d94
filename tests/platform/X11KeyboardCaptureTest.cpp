#include "platform/KeyboardCapture.h"
#include "platform/WindowHandle.h"
#include "tests/support/FakeWindowKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
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
    CaptureStart capture = StartKeyboardCapture(log.callback(), WindowHandle());
    ASSERT_TRUE(capture.capture);
    EXPECT_EQ(capture.source, CaptureSource::X11Grab);

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
    CaptureStart first = StartKeyboardCapture(log.callback(), WindowHandle());
    ASSERT_TRUE(first.capture);
    first.capture.reset();
    // A second grab only succeeds when the first one was released.
    CaptureStart second = StartKeyboardCapture(log.callback(), WindowHandle());
    ASSERT_TRUE(second.capture);
    press("c");
    EXPECT_TRUE(contains(log.take(2), WM_KEYDOWN, 0x43, 0));
}

// Sets an environment variable for one scope, or removes it (null).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(X11CaptureTest, AnX11SessionGrabsRatherThanReadTheWindowsKeys) {
    FakeWindowKeys window;
    CaptureStart start = StartKeyboardCapture([](unsigned, const KBDLLHOOKSTRUCT&) {}, window.handle());
    EXPECT_EQ(start.source, CaptureSource::X11Grab);
    EXPECT_EQ(window.starts, 0);
}

TEST_F(X11CaptureTest, AWaylandSessionLeavesTheGrabOfXWaylandAlone) {
    // XWayland's grab would not see keys typed into native Wayland windows.
    if (std::filesystem::exists("/dev/input")) {
        GTEST_SKIP() << "this machine has input devices";
    }
    const ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    FakeWindowKeys window;
    CaptureStart start = StartKeyboardCapture([](unsigned, const KBDLLHOOKSTRUCT&) {}, window.handle());
    EXPECT_EQ(start.source, CaptureSource::WindowKeys);
    EXPECT_EQ(start.failures, std::vector<CaptureFailure>{CaptureFailure::NoInputDevices});
}

TEST_F(X11CaptureTest, TheServerDropsTheGrabOfAKilledCapture) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        CaptureStart start = StartKeyboardCapture([](unsigned, const KBDLLHOOKSTRUCT&) {}, WindowHandle());
        const char state = start.capture ? 'G' : 'F';
        [[maybe_unused]] const auto n = ::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char state = 0;
    pollfd wait{ready[0], POLLIN, 0};
    ASSERT_GT(::poll(&wait, 1, 10000), 0);
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(state, 'G') << "the child could not grab";

    // While the child holds the keyboard, nobody else can grab it.
    KeyLog log;
    EXPECT_FALSE(StartKeyboardCapture(log.callback(), WindowHandle()).capture);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    CaptureStart after = StartKeyboardCapture(log.callback(), WindowHandle());
    ASSERT_TRUE(after.capture) << "the grab outlived its process";
    log.take(0);
    press("d");
    EXPECT_TRUE(contains(log.take(2), WM_KEYDOWN, 0x44, 0));
}

struct SourceCase {
    const char* name;
    bool windowGiven;
    bool windowReadable;
    CaptureSource source;
    std::vector<CaptureFailure> failures;
};

void PrintTo(const SourceCase& c, std::ostream* out) {
    *out << c.name;
}

class CaptureWithoutDisplay : public ::testing::TestWithParam<SourceCase> {};

// Without a display and without /dev/input only the window's own keys are left.
TEST_P(CaptureWithoutDisplay, FallsBackToTheWindowsKeysOrSaysWhy) {
    if (std::filesystem::exists("/dev/input")) {
        GTEST_SKIP() << "grabbing the evdev devices could take a real keyboard away from its user";
    }
    const SourceCase& c = GetParam();
    const ScopedEnv display("DISPLAY", nullptr);
    FakeWindowKeys window;
    window.readable = c.windowReadable;
    KeyLog log;
    CaptureStart start =
        StartKeyboardCapture(log.callback(), c.windowGiven ? window.handle() : WindowHandle());
    EXPECT_EQ(start.source, c.source);
    EXPECT_EQ(start.failures, c.failures);
    EXPECT_EQ(static_cast<bool>(start.capture), c.source != CaptureSource::None);
    if (!start.capture) {
        EXPECT_FALSE(window.feeding());
        return;
    }
    ASSERT_TRUE(window.type(WM_KEYDOWN, 0x41));
    EXPECT_TRUE(contains(log.take(1), WM_KEYDOWN, 0x41, 0));
    start.capture.reset();
    EXPECT_FALSE(window.feeding()) << "ending the capture stops the window's feed";
    EXPECT_EQ(window.stops, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CaptureWithoutDisplay,
    ::testing::Values(
        SourceCase{"ReadableWindow", true, true, CaptureSource::WindowKeys, {CaptureFailure::NoInputDevices}},
        SourceCase{"UnreadableWindow",
                   true,
                   false,
                   CaptureSource::None,
                   {CaptureFailure::NoInputDevices, CaptureFailure::NoWindowKeys}},
        SourceCase{"NoWindow",
                   false,
                   false,
                   CaptureSource::None,
                   {CaptureFailure::NoInputDevices, CaptureFailure::NoWindowKeys}}),
    [](const ::testing::TestParamInfo<SourceCase>& row) { return std::string(row.param.name); });

} // namespace
