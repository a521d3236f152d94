#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

class WindowKeySource;

// Message parameters keep the widths the keyboard protocol and the window
// messages were designed around.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned UM_TRAY_NOTIFY = WM_USER + 101;
inline constexpr unsigned UM_HOOK_KEY = WM_USER + 102;
inline constexpr unsigned UM_DEVICE_PROGRESS = WM_USER + 103;
inline constexpr unsigned UM_DEVICE_DONE = WM_USER + 104;

// UM_HOOK_KEY carries the virtual-key code in bits 0..7 of wParam, bit 31 set
// for a release and bit 30 for a system key (Alt held); bit 24 of lParam marks
// an extended key.
inline constexpr WPARAM kHookKeyCodeMask = 0xFF;
inline constexpr WPARAM kHookKeyUpBit = WPARAM{1} << 31;
inline constexpr WPARAM kHookSystemKeyBit = WPARAM{1} << 30;
inline constexpr LPARAM kHookExtendedKeyBit = LPARAM{1} << 24;

// A handle through which any thread may post a message to a window.  The
// device library and the workers only ever see this handle, never what is
// behind it.  A window closes its handle when it goes away; posting to a
// closed (or null) handle fails instead of reaching a dead window, which is
// what a stale window handle does on the original platform.
//
// Header-only on purpose: the device library and the program each link the
// platform layer, and a handle made in one must work in the other.
class WindowHandle {
public:
    using Deliver = std::function<void(unsigned message, WPARAM wParam, LPARAM lParam)>;

    WindowHandle() = default;

    // `deliver` runs on the posting thread and must only queue the message
    // (for a Qt window: QCoreApplication::postEvent).
    static WindowHandle create(Deliver deliver) {
        WindowHandle handle;
        handle.channel_ = std::make_shared<Channel>();
        handle.channel_->deliver = std::move(deliver);
        return handle;
    }

    // Posts without waiting for the window; false for a null or closed handle.
    bool post(unsigned message, WPARAM wParam, LPARAM lParam) const {
        if (!channel_) {
            return false;
        }
        std::lock_guard lock(channel_->mutex);
        if (!channel_->deliver) {
            return false;
        }
        channel_->deliver(message, wParam, lParam);
        return true;
    }

    // Every copy of the handle stops delivering; a post in flight finishes first.
    void close() const {
        if (channel_) {
            std::lock_guard lock(channel_->mutex);
            channel_->deliver = nullptr;
            channel_->keySource = nullptr;
        }
    }

    // The window's own key events, which a keyboard capture may read where
    // nothing can grab the keyboard.  The window sets it and outlives it;
    // closing the handle forgets it.
    void setKeySource(WindowKeySource* source) const {
        if (channel_) {
            std::lock_guard lock(channel_->mutex);
            channel_->keySource = source;
        }
    }
    WindowKeySource* keySource() const {
        if (!channel_) {
            return nullptr;
        }
        std::lock_guard lock(channel_->mutex);
        return channel_->keySource;
    }

    bool isOpen() const {
        if (!channel_) {
            return false;
        }
        std::lock_guard lock(channel_->mutex);
        return static_cast<bool>(channel_->deliver);
    }

    explicit operator bool() const { return channel_ != nullptr; }
    friend bool operator==(const WindowHandle& a, const WindowHandle& b) { return a.channel_ == b.channel_; }

private:
    struct Channel {
        std::mutex mutex;
        Deliver deliver;
        WindowKeySource* keySource = nullptr;
    };
    std::shared_ptr<Channel> channel_;
};
