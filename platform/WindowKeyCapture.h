#pragma once

#include "platform/KeyMessageKinds.h"
#include "platform/KeyboardCapture.h"

#include <cstdint>
#include <memory>

class WindowHandle;

// A capture of the window's own keys (its handle's key source): the window
// feeds them until the capture ends or the window closes its handle.
// Nothing to release on a crash: no grab is held.
std::unique_ptr<KeyboardCapture>
StartWindowKeyCapture(const WindowHandle& window, KeyboardCaptureCallback callback, CaptureFailure* failure);

// Turns a window's key events into the hook's key events.  The native scan
// code of a key event is the X key code under xcb and the XKB key code under
// Wayland, both the kernel's evdev code + 8, so the evdev table names it.
class WindowKeyTranslator {
public:
    static constexpr std::uint32_t kEvdevOffset = 8;

    explicit WindowKeyTranslator(KeyboardCaptureCallback callback) : callback_(std::move(callback)) {}

    // One key event of the window; `autoRepeat` marks the events a held key
    // repeats.  Keys without a virtual key are dropped.
    void keyEvent(std::uint32_t nativeScanCode, bool down, bool autoRepeat, std::uint32_t time);

private:
    KeyboardCaptureCallback callback_;
    KeyMessageKinds kinds_;
};
