#include "tools/zarnctl/ProgressBar.h"

#include <algorithm>

namespace {

constexpr int kBarWidth = 40;

} // namespace

ProgressBar::ProgressBar(std::ostream& stream, std::string label, int first, int steps)
    : stream_(stream), label_(std::move(label)), first_(first), steps_(std::max(steps, 1)) {
    window_ = WindowHandle::create([this](unsigned message, WPARAM wParam, LPARAM) {
        if (message == UM_DEVICE_PROGRESS) {
            show(wParam);
        }
    });
}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::finish() {
    window_.close();
    if (shownPercent_ >= 0) {
        stream_ << '\n' << std::flush;
        shownPercent_ = -1;
    }
}

void ProgressBar::show(WPARAM value) {
    if (full_) {
        return;
    }
    const long long done = static_cast<long long>(value) - first_ + 1;
    const int percent = static_cast<int>(std::clamp(done * 100 / steps_, 0LL, 100LL));
    const int filled = percent * kBarWidth / 100;
    // Redrawn only when the bar grows or shrinks: a key table posts hundreds
    // of messages, and the stream may be a log file rather than a terminal.
    if (shownPercent_ >= 0 && filled == shownPercent_ * kBarWidth / 100) {
        return;
    }
    shownPercent_ = percent;
    stream_ << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] " << percent << '%'
            << std::flush;
    // A full bar ends its line at once, so whatever the keyboard's side says
    // next starts on a line of its own.  (The handle cannot be closed here:
    // this runs inside its post.)
    if (percent == 100) {
        stream_ << '\n' << std::flush;
        full_ = true;
        shownPercent_ = -1;
    }
}
