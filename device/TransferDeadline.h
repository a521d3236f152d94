#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>

// The whole time one transfer may take.  Each read waits at most the read
// time-out, but a keyboard that sends a junk report every second and a half
// passes every one of them: without an overall bound a read of the key table
// would run for days.  The bound grows with what the transfer must move, so
// a long legal answer is never cut, and a cancel flag set from another
// thread ends it before its next read.
class TransferDeadline {
public:
    // A keyboard that answers at all answers well within these.
    static constexpr std::chrono::milliseconds kBase{2000};
    static constexpr std::chrono::milliseconds kPerReport{5};

    TransferDeadline(long expectedReports, const std::atomic<bool>* cancel)
        : cancel_(cancel), end_(std::chrono::steady_clock::now() + kBase + expectedReports * kPerReport) {}

    // The keyboard announced more than was expected (a macro of several chunks).
    void expect(long moreReports) { end_ += moreReports * kPerReport; }

    bool cancelled() const { return cancel_ != nullptr && cancel_->load(); }
    // The transfer must stop: its time is up or it was cancelled.
    bool over() const { return readTimeoutMs(1) == 0; }

    // How long the next read may wait: the read time-out, or less near the
    // end; 0 when the transfer is over.
    int readTimeoutMs(int readTimeoutMs) const {
        if (cancelled()) {
            return 0;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now())
                .count();
        return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, readTimeoutMs));
    }

private:
    const std::atomic<bool>* cancel_;
    std::chrono::steady_clock::time_point end_;
};
