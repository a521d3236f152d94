#pragma once

#include "platform/KeyboardCapture.h"
#include "platform/WindowHandle.h"
#include "platform/WindowKeySource.h"

#include <cstdint>

// A window's own keys as a test types them: the keyboard hook starts and
// stops the feed, the test hands it key events.
class FakeWindowKeys final : public WindowKeySource {
public:
    FakeWindowKeys() : handle_(WindowHandle::create([](unsigned, WPARAM, LPARAM) {})) {
        handle_.setKeySource(this);
    }
    ~FakeWindowKeys() override { handle_.close(); }

    // A window that only has these keys (what is posted to it goes nowhere).
    const WindowHandle& handle() const { return handle_; }

    bool startKeyFeed(KeyboardCaptureCallback callback) override {
        if (!readable) {
            return false;
        }
        callback_ = std::move(callback);
        ++starts;
        return true;
    }
    void stopKeyFeed() override {
        callback_ = nullptr;
        ++stops;
    }

    bool feeding() const { return static_cast<bool>(callback_); }
    // False when no capture reads the window's keys.
    bool type(unsigned message, std::uint32_t vkCode, bool extended = false) const {
        if (!callback_) {
            return false;
        }
        KBDLLHOOKSTRUCT event;
        event.vkCode = vkCode;
        event.flags = extended ? LLKHF_EXTENDED : 0;
        callback_(message, event);
        return true;
    }

    bool readable = true;
    int starts = 0;
    int stops = 0;

private:
    WindowHandle handle_;
    KeyboardCaptureCallback callback_;
};
