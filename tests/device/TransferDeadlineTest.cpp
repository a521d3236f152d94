#include "device/COrvoHWI.h"
#include "platform/HidTransport.h"
#include "tests/device/CaseName.h"
#include "tests/support/ScriptedKeyboard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <ostream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Payload = ScriptedKeyboard::Payload;
using Then = ScriptedKeyboard::Answer::Then;

// Answers every request with a report the host has no use for, one every
// 1.5 s: each arrives before the 2 s read time-out runs out.
ScriptedKeyboard::Script tricklingJunk() {
    return [](const Payload&) {
        ScriptedKeyboard::Answer answer;
        answer.then = Then::Trickle;
        answer.flood = ScriptedKeyboard::payload({0x00, 0x55});
        answer.floodIntervalMs = 1500;
        return answer;
    };
}

// The library as the program holds it, on a scripted keyboard.  The
// keyboard goes first when the fixture ends, so that a transfer still
// running sees it hang up rather than trickle on.
class Transfers : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv(kVirtualHidVariable);
        keyboard_ = std::make_unique<ScriptedKeyboard>(tricklingJunk());
        ASSERT_TRUE(hwi_.__createDev());
    }
    void TearDown() override {
        keyboard_.reset();
        hwi_.__closeDev();
    }

    // Runs `transfer` on a thread of its own; false and a failure when it
    // has not ended after `limit`.
    template <class Transfer>
    std::future<bool> start(Transfer transfer) {
        return std::async(std::launch::async, std::move(transfer));
    }
    void expectEndsWithin(std::future<bool>& running, std::chrono::milliseconds limit, const char* what) {
        if (running.wait_for(limit) != std::future_status::ready) {
            ADD_FAILURE() << what << " still runs after " << limit.count() << " ms";
            keyboard_.reset();
        }
        EXPECT_FALSE(running.get()) << what;
    }

    std::unique_ptr<ScriptedKeyboard> keyboard_;
    COrvoHWI hwi_;
};

struct TrickleCase {
    const char* name;
    std::function<bool(COrvoHWI&)> transfer;
    long expectedReports;
};

void PrintTo(const TrickleCase& c, std::ostream* out) {
    *out << c.name;
}

class TrickledTransfer : public Transfers, public testing::WithParamInterface<TrickleCase> {};

// Junk every 1.5 s used to keep a read of the key table going for days.
TEST_P(TrickledTransfer, FailsWithinItsDeadline) {
    const TrickleCase& c = GetParam();
    const auto deadline = std::chrono::milliseconds(2000 + 5 * c.expectedReports);
    const auto started = Clock::now();
    auto running = start([&] { return c.transfer(hwi_); });
    expectEndsWithin(running, deadline + std::chrono::milliseconds(1500), c.name);
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(1500))
        << "junk is waited for, not taken as an end";
}

INSTANTIATE_TEST_SUITE_P(
    Reads, TrickledTransfer,
    testing::Values(TrickleCase{"KeyTable", [](COrvoHWI& hwi) { return hwi.readKeyDefinationFromDev({}); },
                                207},
                    TrickleCase{"Counters",
                                [](COrvoHWI& hwi) {
                                    std::vector<int> counters(kCounterArrayLength);
                                    return hwi.getPressCounterFromDev(counters.data());
                                },
                                8}),
    CaseName());

TEST_F(Transfers, CancelEndsARunningReadWithinOneReadTimeOut) {
    auto running = start([&] { return hwi_.readKeyDefinationFromDev({}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    hwi_.cancelTransfers();
    expectEndsWithin(running, std::chrono::milliseconds(2500), "the cancelled read");

    // Cancelled stays cancelled, without a word to the keyboard, until the
    // next operation allows transfers again.
    hwi_.__closeDev();
    keyboard_->setScript([](const Payload&) {
        ScriptedKeyboard::Answer answer;
        answer.replies = {ScriptedKeyboard::payload({0xF6})};
        return answer;
    });
    ASSERT_TRUE(hwi_.__createDev());
    const std::size_t requests = keyboard_->received().size();
    EXPECT_FALSE(hwi_.readKeyLightFromDev());
    EXPECT_EQ(keyboard_->received().size(), requests);
    hwi_.allowTransfers();
    EXPECT_TRUE(hwi_.readKeyDefinationFromDev({}));
}

} // namespace
