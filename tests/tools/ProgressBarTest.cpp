#include "tools/zarnctl/ProgressBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace {

const std::string kFull = "Keys [########################################] 100%";

void post(const ProgressBar& bar, int from, int to) {
    for (int value = from; value <= to; ++value) {
        bar.window().post(UM_DEVICE_PROGRESS, static_cast<WPARAM>(value), 0);
    }
}

// The last line as a terminal shows it: what follows the last carriage return.
std::string shownLine(const std::string& text) {
    const std::string line = text.substr(0, text.find_last_not_of('\n') + 1);
    return line.substr(line.find_last_of('\r') + 1);
}

TEST(ProgressBar, AWriteOnATerminalGrowsInPlaceToFull) {
    std::ostringstream stream;
    {
        ProgressBar bar(stream, true, "Keys", 0, 206);
        post(bar, 0, 101);
        EXPECT_EQ(shownLine(stream.str()), "Keys [###################---------------------] 49%");
        post(bar, 102, 205);
        bar.finish(true);
    }
    const std::string text = stream.str();
    EXPECT_EQ(shownLine(text), kFull);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}

// A keyboard sends only the slots it holds: a read that brings 176 of the
// 206 used to stop at 85 %.
TEST(ProgressBar, AReadCountsWhatArrivesAndEndsFull) {
    std::ostringstream stream;
    ProgressBar bar(stream, true, "Keys");
    post(bar, 30, 205);
    EXPECT_EQ(shownLine(stream.str()), "Keys | 176 received");
    bar.finish(true);
    EXPECT_EQ(shownLine(stream.str()), kFull);
    EXPECT_EQ(stream.str().back(), '\n');
}

// Logs and pipes get no carriage returns: one line once the transfer went
// through, nothing for one that failed (its error message says enough).
TEST(ProgressBar, ElsewhereOneLineAtTheEnd) {
    std::ostringstream done;
    ProgressBar bar(done, false, "Keys", 1, 150);
    post(bar, 1, 150);
    EXPECT_EQ(done.str(), "");
    bar.finish(true);
    EXPECT_EQ(done.str(), kFull + "\n");

    std::ostringstream failed;
    {
        ProgressBar broken(failed, false, "Keys");
        post(broken, 0, 40);
        broken.finish(false);
    }
    EXPECT_EQ(failed.str(), "");
}

TEST(ProgressBar, AFailedTransferLeavesItsLineEndedAndNotFull) {
    std::ostringstream stream;
    {
        ProgressBar bar(stream, true, "Keys", 0, 206);
        post(bar, 0, 60);
    }
    EXPECT_EQ(stream.str().back(), '\n');
    EXPECT_EQ(stream.str().find("100%"), std::string::npos);
    const std::string before = stream.str();

    ProgressBar finished(stream, true, "Keys", 0, 206);
    finished.finish(true);
    post(finished, 0, 205);
    EXPECT_EQ(stream.str(), before + "\r" + kFull + "\n") << "nothing after the end";
}

} // namespace
