#include "tests/support/RunningSim.h"
#include "tests/support/SimClient.h"
#include "tools/zarn-sim/SimKeyboard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string hexRecord(std::uint8_t type, std::uint16_t address, const Bytes& data) {
    Bytes record{static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                 static_cast<std::uint8_t>(address), type};
    record.insert(record.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const auto b : record) {
        sum += b;
    }
    record.push_back(static_cast<std::uint8_t>(-sum));
    std::string line = ":";
    char digits[3];
    for (const auto b : record) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    return line;
}

// The report the host sends for one line: 3A, then the line's bytes.
SimClient::Message recordReport(const std::string& line) {
    SimClient::Message report(65, 0);
    report[2] = 0x3A;
    for (std::size_t i = 1, out = 3; i + 1 < line.size() && out < 65; i += 2, ++out) {
        report[out] = static_cast<std::uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16));
    }
    return report;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// 32 bytes at 0x08000000 in two records, a start address, the end.
std::vector<std::string> smallImage() {
    Bytes low(16), high(16);
    for (int i = 0; i < 16; ++i) {
        low[i] = static_cast<std::uint8_t>(i);
        high[i] = static_cast<std::uint8_t>(0x80 + i);
    }
    return {hexRecord(0x04, 0, {0x08, 0x00}), hexRecord(0x00, 0x0000, low), hexRecord(0x00, 0x0010, high),
            hexRecord(0x05, 0, {0x08, 0x00, 0x01, 0x01}), hexRecord(0x01, 0, {})};
}

class SimFirmwareTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(directory_.empty());
        SimConfig config;
        config.server.tracePath = directory_ + "/trace";
        config.server.statePath = directory_ + "/state";
        sim_ = std::make_unique<RunningSim>(config);
        ASSERT_TRUE(sim_->ok()) << sim_->error();
        ASSERT_TRUE(host_.connect(sim_->socketPath()));
    }
    void TearDown() override {
        host_.close();
        sim_.reset();
        std::filesystem::remove_all(directory_);
    }

    void download(const std::vector<std::string>& lines) {
        for (const auto& line : lines) {
            ASSERT_TRUE(host_.send(recordReport(line)));
        }
    }

    std::string version() {
        EXPECT_TRUE(host_.sendPayload({0x00, 0xF9}));
        const auto reply = host_.receive();
        return reply ? std::string(reinterpret_cast<const char*>(reply->data() + 3)) : "<none>";
    }

    std::string directory_ = RunningSim::makeTemporaryDirectory();
    std::unique_ptr<RunningSim> sim_;
    SimClient host_;
};

TEST_F(SimFirmwareTest, AGoodImageCompletesAndTheKeyboardRestartsWithIt) {
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF1}));
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF0, 1, 1, 0, 1, 0x04}));
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF6, 0xF6}));
    download(smallImage());
    EXPECT_EQ(version(), "Zarn V1.06");
    const std::string trace = readFile(directory_ + "/trace");
    EXPECT_NE(trace.find("# image complete: 32 bytes, 0x08000000-0x0800001F, 5 records, 0 bad records\n"),
              std::string::npos)
        << trace;
    // The update erased what was written: Esc holds its factory code again.
    ASSERT_TRUE(host_.sendPayload({0x00, 0xF2}));
    const auto entry = host_.receive();
    ASSERT_TRUE(entry);
    EXPECT_EQ((*entry)[7], 0x01);
    EXPECT_NE(trace.find("# key table and lights reset to the factory layout\n"), std::string::npos) << trace;

    // So does the new firmware's version, across a restart of the simulator.
    host_.close();
    SimConfig config;
    config.server.statePath = directory_ + "/state";
    sim_ = std::make_unique<RunningSim>(config);
    ASSERT_TRUE(sim_->ok()) << sim_->error();
    ASSERT_TRUE(host_.connect(sim_->socketPath()));
    EXPECT_EQ(version(), "Zarn V1.06");
}

TEST_F(SimFirmwareTest, BadRecordsAreCountedAndBreakTheDownload) {
    auto lines = smallImage();
    const std::vector<std::string> bad = {
        lines[1].substr(0, lines[1].size() - 2) + "00", // checksum
        hexRecord(0x06, 0, {0x01}),                     // unknown record type
        hexRecord(0x04, 0, {0x08}),                     // extended address of one byte
        ":40000000" + std::string(128, '0') + "C0",     // longer than a report carries
    };
    lines.insert(lines.begin() + 2, bad.begin(), bad.end());
    download(lines);
    EXPECT_EQ(version(), "Zarn V1.05");
    const std::string trace = readFile(directory_ + "/trace");
    EXPECT_NE(trace.find("# image broken: 32 bytes, 0x08000000-0x0800001F, 9 records, 4 bad records\n"),
              std::string::npos)
        << trace;

    // The next download starts afresh.
    download(smallImage());
    EXPECT_EQ(version(), "Zarn V1.06");
}

TEST_F(SimFirmwareTest, TraceShowsEveryReportInBothDirections) {
    const auto request = simReport({0x00, 0xF9});
    ASSERT_TRUE(host_.send(request));
    const auto reply = host_.receive();
    ASSERT_TRUE(reply);
    auto hex = [](const SimClient::Message& m) {
        std::string text;
        char digits[3];
        for (const auto b : m) {
            std::snprintf(digits, sizeof digits, "%02x", b);
            text += digits;
        }
        return text;
    };
    EXPECT_EQ(readFile(directory_ + "/trace"), "> " + hex(request) + "\n< " + hex(*reply) + "\n");
}

TEST(SimFirmwareImage, AnObjcopyImageArrivesByteForByte) {
    if (std::system("command -v objcopy >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "objcopy is not installed";
    }
    const std::string directory = RunningSim::makeTemporaryDirectory();
    std::mt19937 random(7);
    Bytes firmware(5000);
    for (auto& b : firmware) {
        b = static_cast<std::uint8_t>(random());
    }
    std::ofstream(directory + "/fw.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(firmware.data()), static_cast<std::streamsize>(firmware.size()));
    const std::string command = "objcopy -I binary -O ihex --change-addresses 0x08004000 " + directory +
                                "/fw.bin " + directory + "/Zarn_v2.hex";
    ASSERT_EQ(std::system(command.c_str()), 0);

    SimKeyboard keyboard("Zarn V1.05", {});
    std::istringstream text(readFile(directory + "/Zarn_v2.hex"));
    std::vector<std::string> notes;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto outcome = keyboard.handle(recordReport(line));
        notes.insert(notes.end(), outcome.notes.begin(), outcome.notes.end());
    }
    std::filesystem::remove_all(directory);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front().rfind("image complete: 5000 bytes, 0x08004000-0x08005387", 0), 0u)
        << notes.front();
    EXPECT_NE(notes.front().find(" 0 bad records"), std::string::npos);
    const auto& image = keyboard.firmware().lastImage();
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image.begin()->first, 0x08004000u);
    EXPECT_EQ(image.begin()->second, firmware);
}

struct BumpCase {
    const char* before;
    const char* after;
};

TEST(SimFirmwareVersion, TheLastNumberGoesUpKeepingItsWidth) {
    const BumpCase cases[] = {
        {"Zarn V1.05", "Zarn V1.06"}, {"Zarn V1.09", "Zarn V1.10"},       {"V9.99", "V9.100"},
        {"fw 7 beta", "fw 8 beta"},   {"no digits", "no digits updated"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bumpedVersion(c.before), c.after) << c.before;
    }
}

} // namespace
