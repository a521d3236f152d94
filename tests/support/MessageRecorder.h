#pragma once

#include "platform/WindowHandle.h"

#include <memory>
#include <mutex>
#include <vector>

// A window that only remembers what was posted to it, from any thread.
class MessageRecorder {
public:
    struct Message {
        unsigned message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        friend bool operator==(const Message&, const Message&) = default;
    };

    MessageRecorder();

    const WindowHandle& window() const { return window_; }
    std::vector<Message> messages() const;
    // The wParams of every `message` posted, in order.
    std::vector<WPARAM> wParams(unsigned message) const;

private:
    struct Log {
        std::mutex mutex;
        std::vector<Message> messages;
    };
    std::shared_ptr<Log> log_;
    WindowHandle window_;
};
