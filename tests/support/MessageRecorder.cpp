#include "tests/support/MessageRecorder.h"

MessageRecorder::MessageRecorder() : log_(std::make_shared<Log>()) {
    window_ = WindowHandle::create([log = log_](unsigned message, WPARAM wParam, LPARAM lParam) {
        std::lock_guard lock(log->mutex);
        log->messages.push_back({message, wParam, lParam});
    });
}

std::vector<MessageRecorder::Message> MessageRecorder::messages() const {
    std::lock_guard lock(log_->mutex);
    return log_->messages;
}

std::vector<WPARAM> MessageRecorder::wParams(unsigned message) const {
    std::vector<WPARAM> values;
    for (const Message& posted : messages()) {
        if (posted.message == message) {
            values.push_back(posted.wParam);
        }
    }
    return values;
}
