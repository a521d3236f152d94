#pragma once

#include "platform/WindowHandle.h"

#include <ostream>
#include <string>

// The progress of one transfer on the error stream, fed by the
// UM_DEVICE_PROGRESS messages the device library posts to its window.  On a
// terminal it is one line redrawn in place; anywhere else (a log, a pipe)
// it is a single line written when the transfer has gone through, so no
// carriage returns end up in files.  Either way the line is ended before
// anything else is said.
class ProgressBar {
public:
    // A transfer whose messages run from `first` to `first + steps - 1`.
    ProgressBar(std::ostream& stream, bool terminal, std::string label, int first, int steps);
    // A transfer that does not know its length (a read takes what the
    // keyboard sends): its messages are counted, and the bar fills at the end.
    ProgressBar(std::ostream& stream, bool terminal, std::string label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    const WindowHandle& window() const { return window_; }
    // A bar for a query whose answer is the output: once the transfer has
    // gone through, it leaves nothing behind (erased on a terminal, never
    // written elsewhere); a failed one still ends its line.
    void setTransient(bool transient) { transient_ = transient; }
    // Ends the bar's line, full when the transfer `succeeded`; later messages
    // are ignored.
    void finish(bool succeeded);

private:
    void step(WPARAM value);
    void draw(const std::string& text);
    std::string bar(int percent) const;

    std::ostream& stream_;
    bool terminal_;
    std::string label_;
    int first_ = 0;
    int steps_ = 0; // 0: the length is not known
    long received_ = 0;
    int shownPercent_ = -1;
    std::size_t shownLength_ = 0;
    bool finished_ = false;
    bool transient_ = false;
    WindowHandle window_;
};
