#include "tools/zarnctl/ProgressBar.h"

#include <algorithm>

namespace {

constexpr int kBarWidth = 40;
constexpr const char kSpinner[] = {'|', '/', '-', '\\'};

} // namespace

ProgressBar::ProgressBar(std::ostream& stream, bool terminal, std::string label, int first, int steps)
    : stream_(stream), terminal_(terminal), label_(std::move(label)), first_(first),
      steps_(std::max(steps, 1)) {
    window_ = WindowHandle::create([this](unsigned message, WPARAM wParam, LPARAM) {
        if (message == UM_DEVICE_PROGRESS) {
            step(wParam);
        }
    });
}

ProgressBar::ProgressBar(std::ostream& stream, bool terminal, std::string label)
    : ProgressBar(stream, terminal, std::move(label), 0, 1) {
    steps_ = 0;
}

ProgressBar::~ProgressBar() {
    finish(false);
}

std::string ProgressBar::bar(int percent) const {
    const int filled = percent * kBarWidth / 100;
    return label_ + " [" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " + std::to_string(percent) +
           '%';
}

// Redraws the line in place; a shorter text is padded so nothing of the
// longer one stays behind.
void ProgressBar::draw(const std::string& text) {
    std::string line = text;
    if (line.size() < shownLength_) {
        line.append(shownLength_ - line.size(), ' ');
    }
    stream_ << '\r' << line << std::flush;
    shownLength_ = line.size();
}

void ProgressBar::step(WPARAM value) {
    ++received_;
    if (!terminal_) {
        return;
    }
    if (steps_ == 0) {
        draw(label_ + ' ' + kSpinner[received_ % 4] + ' ' + std::to_string(received_) + " received");
        return;
    }
    const long long done = static_cast<long long>(value) - first_ + 1;
    const int percent = static_cast<int>(std::clamp(done * 100 / steps_, 0LL, 100LL));
    // Redrawn only when the figure changes: a key table posts hundreds of messages.
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        draw(bar(percent));
    }
}

void ProgressBar::finish(bool succeeded) {
    if (finished_) {
        return;
    }
    // The handle is closed first, so no message can redraw the ended line.
    window_.close();
    finished_ = true;
    if (succeeded && transient_) {
        if (shownLength_ > 0) {
            stream_ << '\r' << std::string(shownLength_, ' ') << '\r' << std::flush;
        }
    } else if (succeeded) {
        if (terminal_) {
            draw(bar(100));
        } else {
            stream_ << bar(100);
        }
        stream_ << '\n' << std::flush;
    } else if (shownLength_ > 0) {
        stream_ << '\n' << std::flush;
    }
}
