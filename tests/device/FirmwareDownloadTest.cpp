#include "device/FirmwareDownload.h"

#include "device/COrvoUtil.h"
#include "tests/device/CaseName.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/RecordingHidConnection.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Download {
    bool result = false;
    std::vector<std::vector<std::uint8_t>> reports;
    std::vector<WPARAM> progress;
};

Download download(const std::string& text, long writesBeforeFailure = -1) {
    auto log = std::make_shared<RecordingHidConnection::Log>();
    log->writesBeforeFailure = writesBeforeFailure;
    COrvoUtil transport(std::make_unique<RecordingHidConnection>(log));
    MessageRecorder window;
    Download result;
    result.result = downloadFirmware(transport, text.c_str(), text.size(), window.window());
    result.reports = log->written;
    result.progress = window.wParams(UM_DEVICE_PROGRESS);
    return result;
}

// The record bytes a report carries after the report id and the 00 3A lead-in.
std::vector<std::uint8_t> recordBytes(const std::vector<std::uint8_t>& report, std::size_t count) {
    return {report.begin() + 3, report.begin() + 3 + static_cast<long>(count)};
}

struct FirmwareCase {
    const char* name;
    std::string text;
    bool result;
    std::size_t reports;
    std::vector<WPARAM> progress;
};

void PrintTo(const FirmwareCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string kData = ":0400000001020304F2";
const std::string kEnd = ":00000001FF";

class FirmwareTexts : public testing::TestWithParam<FirmwareCase> {};

TEST_P(FirmwareTexts, SendOneReportPerRecordWithProgressUpTo150) {
    const FirmwareCase& c = GetParam();
    const Download d = download(c.text);
    EXPECT_EQ(d.result, c.result);
    EXPECT_EQ(d.reports.size(), c.reports);
    EXPECT_EQ(d.progress, c.progress);
    for (const auto& report : d.reports) {
        ASSERT_EQ(report.size(), 65u);
        EXPECT_EQ(report[0], 0x00);
        EXPECT_EQ(report[1], 0x00);
        EXPECT_EQ(report[2], 0x3A);
    }
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, FirmwareTexts,
    testing::Values(
        FirmwareCase{"CrLf", kData + "\r\n" + kData + "\r\n" + kEnd + "\r\n", true, 3, {50, 100, 150}},
        FirmwareCase{"CrOnly", kData + "\r" + kData + "\r" + kEnd + "\r", true, 3, {50, 100, 150}},
        FirmwareCase{"LfOnly", kData + "\n" + kData + "\n" + kEnd + "\n", true, 3, {50, 100, 150}},
        FirmwareCase{"BlankLineEndsTheDownload", kData + "\r\n\r\n" + kData + "\r\n", true, 1, {50}},
        FirmwareCase{"LastLineWithoutBreak", kData + "\r\n" + kEnd, true, 2, {75, 150}},
        FirmwareCase{"SingleLine", kEnd, true, 1, {150}},
        FirmwareCase{"ManyLinesPostOnlyRisingValues",
                     [] {
                         std::string text;
                         for (int i = 0; i < 300; ++i) {
                             text += kData + "\r\n";
                         }
                         return text;
                     }(),
                     true, 300,
                     [] {
                         std::vector<WPARAM> values;
                         for (WPARAM p = 1; p <= 150; ++p) {
                             values.push_back(p);
                         }
                         return values;
                     }()}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Refusals, FirmwareTexts,
    testing::Values(
        FirmwareCase{"Empty", "", false, 0, {}},
        FirmwareCase{"FirstCharacterNotColon", " " + kData, false, 0, {}},
        FirmwareCase{"LaterLineNotColon", kData + "\r\n" + kData + "\r\nX00\r\n", false, 0, {}},
        FirmwareCase{"BadLineAfterBlankLine", kData + "\r\n\r\nX00\r\n", false, 0, {}},
        FirmwareCase{"OddNumberOfDigits", kData + "\r\n:0000000\r\n", false, 0, {}},
        FirmwareCase{
            "LineOver999Characters", kData + "\n:" + std::string(1000, '0') + "\n" + kEnd, false, 0, {}},
        FirmwareCase{"LineOf999CharactersIsSent", ":" + std::string(998, '0'), true, 1, {150}}),
    CaseName());

TEST(FirmwareDownload, ConvertsTheRecordIntoPayloadBytes) {
    const Download d = download(":020000040800F2\r\n");
    ASSERT_EQ(d.reports.size(), 1u);
    std::vector<std::uint8_t> expected(65, 0);
    const std::vector<std::uint8_t> head{0x00, 0x00, 0x3A, 0x02, 0x00, 0x00, 0x04, 0x08, 0x00, 0xF2};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(d.reports[0], expected);
}

TEST(FirmwareDownload, LowerCaseDigitsConvertLikeUpperCase) {
    const Download d = download(":0a0bfF\n");
    ASSERT_EQ(d.reports.size(), 1u);
    EXPECT_EQ(recordBytes(d.reports[0], 4), (std::vector<std::uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));
}

TEST(FirmwareDownload, ARecordLongerThanAReportKeepsItsFirst62Bytes) {
    std::string line = ":";
    for (int i = 0; i < 70; ++i) {
        line += "AB";
    }
    const Download d = download(line);
    ASSERT_EQ(d.reports.size(), 1u);
    EXPECT_EQ(recordBytes(d.reports[0], 62), std::vector<std::uint8_t>(62, 0xAB));
}

TEST(FirmwareDownload, AFailedSendEndsTheDownloadAtOnce) {
    const Download d = download(kData + "\r\n" + kData + "\r\n" + kEnd + "\r\n", 1);
    EXPECT_FALSE(d.result);
    EXPECT_EQ(d.reports.size(), 1u);
    EXPECT_EQ(d.progress, (std::vector<WPARAM>{50}));
}

TEST(FirmwareDownload, StopsAtTheSizeEvenWithoutATerminatingZero) {
    const std::string text = kEnd + "\r\n" + kData;
    auto log = std::make_shared<RecordingHidConnection::Log>();
    COrvoUtil transport(std::make_unique<RecordingHidConnection>(log));
    EXPECT_TRUE(downloadFirmware(transport, text.data(), kEnd.size() + 2, WindowHandle()));
    EXPECT_EQ(log->written.size(), 1u);
    EXPECT_FALSE(downloadFirmware(transport, nullptr, 10, WindowHandle()));
    EXPECT_FALSE(downloadFirmware(transport, text.data(), 0, WindowHandle()));
    EXPECT_EQ(log->written.size(), 1u);
}

} // namespace
