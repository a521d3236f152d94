#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "tests/device/CaseName.h"
#include "tests/support/RecordingHidConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

struct BoundCase {
    const char* name;
    long bound;
    std::uint8_t marker;
    std::function<bool(COrvo&)> read;
};

void PrintTo(const BoundCase& c, std::ostream* out) {
    *out << c.name;
}

class ReplyBound : public testing::TestWithParam<BoundCase> {};

// A keyboard that never sends its end marker: the read gives up after as many
// reports as the largest legal answer holds, and takes not one more.
TEST_P(ReplyBound, ReadTakesNoMoreReportsThanTheLargestLegalAnswer) {
    const BoundCase& c = GetParam();
    constexpr long kSurplus = 5;
    auto log = std::make_shared<RecordingHidConnection::Log>();
    RecordingHidConnection::Report report{};
    report[2] = c.marker;
    report[3] = 1;
    report[4] = 1;
    for (long i = 0; i < c.bound + kSurplus; ++i) {
        log->replies.push_back(report);
    }
    COrvoUtil transport(std::make_unique<RecordingHidConnection>(log));
    COrvo mirror(transport);
    EXPECT_FALSE(c.read(mirror));
    EXPECT_EQ(static_cast<long>(log->replies.size()), kSurplus);
}

INSTANTIATE_TEST_SUITE_P(Reads, ReplyBound,
                         testing::Values(BoundCase{"KeyTable", COrvo::kMaxKeyTableReports, 0x00,
                                                   [](COrvo& mirror) {
                                                       return mirror.readKeyTable(WindowHandle());
                                                   }},
                                         BoundCase{"KeyTableEntries", COrvo::kMaxKeyTableReports, 0xF0,
                                                   [](COrvo& mirror) {
                                                       return mirror.readKeyTable(WindowHandle());
                                                   }},
                                         BoundCase{"LightArea", COrvo::kMaxLightReports, 0xE0,
                                                   [](COrvo& mirror) {
                                                       return mirror.readLightArea();
                                                   }},
                                         BoundCase{"Counters", COrvo::kMaxCounterReports, 0xE3,
                                                   [](COrvo& mirror) {
                                                       return mirror.readPressCounters();
                                                   }}),
                         CaseName());

} // namespace
