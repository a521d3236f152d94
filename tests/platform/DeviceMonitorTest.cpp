#include "platform/DeviceMonitor.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool waitFor(const std::atomic<int>& value, int expected, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (value < expected && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return value >= expected;
}

class DeviceMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* list = std::getenv("ZARN_VIRTUAL_HID")) {
            saved_ = list;
        }
        ::unsetenv("ZARN_VIRTUAL_HID");
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("ZARN_VIRTUAL_HID", saved_->c_str(), 1);
        } else {
            ::unsetenv("ZARN_VIRTUAL_HID");
        }
    }

    static std::unique_ptr<EmbeddedSimulator> plugIn() {
        EmbeddedSimulator::Options options;
        options.forgetful = true;
        options.notesToStderr = false;
        std::string error;
        auto sim = EmbeddedSimulator::start(options, &error);
        EXPECT_TRUE(sim) << error;
        return sim;
    }

    std::optional<std::string> saved_;
};

TEST_F(DeviceMonitorTest, ReportsAVirtualKeyboardComingAndGoingOnceEach) {
    std::atomic<int> changes = 0;
    auto monitor = StartDeviceMonitor([&] { ++changes; });
    ASSERT_TRUE(monitor);
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(changes, 0) << "nothing changed yet";

    auto keyboard = plugIn();
    ASSERT_TRUE(keyboard);
    EXPECT_TRUE(waitFor(changes, 1, 3s));
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(changes, 1) << "a keyboard that stays is one change";

    keyboard.reset();
    EXPECT_TRUE(waitFor(changes, 2, 3s));
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(changes, 2);
}

TEST_F(DeviceMonitorTest, StopsWhenDestroyed) {
    std::atomic<int> changes = 0;
    auto monitor = StartDeviceMonitor([&] { ++changes; });
    ASSERT_TRUE(monitor);
    monitor.reset();
    auto keyboard = plugIn();
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(changes, 0);
}

} // namespace

namespace {

// An idle watcher sleeps through its whole interval; a wait rounded down
// to 0 would make it spin through the last millisecond of every interval.
TEST(DeviceMonitorWait, RoundsTheRemainingTimeUpToWholeMilliseconds) {
    struct Case {
        std::chrono::nanoseconds remaining;
        int timeoutMs;
    };
    const Case cases[] = {
        {-5ms, 0}, {0ns, 0}, {1ns, 1}, {999us, 1}, {1ms, 1}, {1001us, 2}, {499'700us, 500}, {500ms, 500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PollTimeoutMs(c.remaining), c.timeoutMs) << c.remaining.count() << " ns";
    }
    EXPECT_EQ(PollTimeoutMs(std::chrono::hours(24 * 365 * 100)), std::numeric_limits<int>::max());
}

} // namespace
