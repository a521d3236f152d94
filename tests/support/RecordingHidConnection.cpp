#include "tests/support/RecordingHidConnection.h"

#include <algorithm>

bool RecordingHidConnection::write(const std::uint8_t* report, std::size_t length) {
    if (log_->writesBeforeFailure == 0) {
        return false;
    }
    if (log_->writesBeforeFailure > 0) {
        --log_->writesBeforeFailure;
    }
    log_->written.emplace_back(report, report + length);
    return true;
}

int RecordingHidConnection::read(std::uint8_t* report, std::size_t capacity, int /*timeoutMs*/) {
    if (log_->replies.empty()) {
        return -1;
    }
    const Report next = log_->replies.front();
    log_->replies.pop_front();
    const std::size_t size = std::min(capacity, next.size());
    std::copy_n(next.begin(), size, report);
    return static_cast<int>(size);
}
