#pragma once

#include "platform/WindowHandle.h"

#include <ostream>
#include <string>

// A text bar on the error stream, fed by the UM_DEVICE_PROGRESS messages that
// the device library posts to its window while a transfer runs.
class ProgressBar {
public:
    // Values from `first` to `first + steps - 1` make the bar grow to full.
    ProgressBar(std::ostream& stream, std::string label, int first, int steps);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    const WindowHandle& window() const { return window_; }
    // Ends the bar's line; later messages are ignored.
    void finish();

private:
    void show(WPARAM value);

    std::ostream& stream_;
    std::string label_;
    int first_;
    int steps_;
    int shownPercent_ = -1;
    bool full_ = false;
    WindowHandle window_;
};
