#include "platform/VirtualHid.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualHidList, ParsesWellFormedEntriesInOrderAndSkipsTheRest) {
    const auto devices =
        ParseVirtualHidList("0483:5039:1=/a;bad;0483:51390:1=/b;0483:5139:x=/c;abcd:ef01:12=/d e;;"
                            "0483:5239:1=");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].path, "/a");
    EXPECT_EQ(devices[0].productId, 0x5039);
    EXPECT_EQ(devices[0].interfaceNumber, 1);
    EXPECT_EQ(devices[1].vendorId, 0xABCD);
    EXPECT_EQ(devices[1].productId, 0xEF01);
    EXPECT_EQ(devices[1].interfaceNumber, 12);
    EXPECT_EQ(devices[1].path, "/d e");
    EXPECT_EQ(devices[1].backend, HidBackend::Virtual);
}

TEST(Clock, CounterAdvancesAtLeastBySleptTime) {
    std::int64_t frequency = 0;
    std::int64_t before = 0;
    std::int64_t after = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_GE((after - before) * 1000 / frequency, 20);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}

} // namespace
