#include "platform/VirtualHid.h"
#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

SimConfig withFaults(std::optional<std::uint64_t> stopAfter, std::optional<std::uint64_t> hangupAfter) {
    SimConfig config;
    config.server.stopAfter = stopAfter;
    config.server.hangupAfter = hangupAfter;
    return config;
}

TEST(SimFaultInjection, StopsAnsweringButStaysConnected) {
    RunningSim sim(withFaults(2, std::nullopt));
    ASSERT_TRUE(sim.ok()) << sim.error();
    SimClient host;
    ASSERT_TRUE(host.connect(sim.socketPath()));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
        EXPECT_TRUE(host.receive()) << "request " << i + 1;
    }
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    EXPECT_FALSE(host.receive(200ms));
    EXPECT_FALSE(host.waitForHangUp(50ms));
    // A silent keyboard is still present to a presence check.
    SimClient probe;
    EXPECT_TRUE(probe.connect(sim.socketPath()));
}

TEST(SimFaultInjection, HangsUpAfterAnsweringTheLastReportLikeAnUnpluggedKeyboard) {
    RunningSim sim(withFaults(std::nullopt, 2));
    ASSERT_TRUE(sim.ok()) << sim.error();
    SimClient host;
    ASSERT_TRUE(host.connect(sim.socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    EXPECT_TRUE(host.receive());
    // The second report is a table read: all of its replies still arrive,
    // up to the end marker at payload offset 0.
    ASSERT_TRUE(host.sendPayload({0x00, 0xF2}));
    int replies = 0;
    while (const auto reply = host.receive()) {
        ++replies;
        if ((*reply)[1] == 0xF6) {
            break;
        }
    }
    EXPECT_EQ(replies, 206 + 1);
    EXPECT_TRUE(host.waitForHangUp());
    sim.stop();
    EXPECT_FALSE(std::filesystem::exists(sim.socketPath()));
    SimClient late;
    EXPECT_FALSE(late.connect(sim.socketPath()));
}

TEST(SimLatency, ASlowEndpointStillDeliversEveryReplyInOrder) {
    SimConfig config;
    config.server.latency = std::chrono::microseconds(500);
    RunningSim sim(config);
    ASSERT_TRUE(sim.ok()) << sim.error();
    SimClient host;
    ASSERT_TRUE(host.connect(sim.socketPath()));
    ASSERT_TRUE(host.sendPayload({0x00, 0xE3}));
    ASSERT_TRUE(host.sendPayload({0x00, 0xF9}));
    const auto counters = host.receiveThrough(1, 0xE6);
    ASSERT_TRUE(counters);
    ASSERT_EQ(counters->size(), 8u);
    for (std::size_t i = 0; i + 1 < counters->size(); ++i) {
        EXPECT_EQ((*counters)[i][2], 0xE3);
    }
    const auto version = host.receive();
    ASSERT_TRUE(version);
    EXPECT_EQ((*version)[2], 0xF9);
}

// A paced keyboard takes one host report per period: the host's writes wait
// for it once the little its socket holds is full, and an answer comes only
// after every report before it was taken.  Only lower bounds are checked,
// which a busy machine can never break.
TEST(SimLatency, HostReportsAreTakenOnePerPeriodAndTheHostWaitsForThem) {
    constexpr auto kPeriod = 3ms;
    constexpr int kReports = 40;
    SimConfig config;
    config.server.latency = kPeriod;
    RunningSim sim(config);
    ASSERT_TRUE(sim.ok()) << sim.error();
    auto host = OpenVirtualHid(sim.socketPath());
    ASSERT_TRUE(host);
    std::array<std::uint8_t, 65> report{};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kReports; ++i) {
        ASSERT_TRUE(host->write(report.data(), report.size())) << "report " << i;
    }
    const auto written = std::chrono::steady_clock::now() - start;
    report[2] = 0xF9; // the version: answered once everything before it was taken
    ASSERT_TRUE(host->write(report.data(), report.size()));
    std::array<std::uint8_t, 65> reply{};
    ASSERT_GT(host->read(reply.data(), reply.size(), 5000), 0);
    const auto answered = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reply[2], 0xF9);
    EXPECT_GE(written, (kReports - 16) * kPeriod);
    EXPECT_GE(answered, kReports * kPeriod);
}

} // namespace
