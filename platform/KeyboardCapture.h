#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Key message kinds and the low-level key event, as the hook procedure of
// the device library receives them.  Capture sources translate X11 and evdev
// events into these.
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_SYSKEYDOWN = 0x0104;
inline constexpr unsigned WM_SYSKEYUP = 0x0105;

inline constexpr std::uint32_t LLKHF_EXTENDED = 0x01;

struct KBDLLHOOKSTRUCT {
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uintptr_t dwExtraInfo = 0;
};

// Receives every key event while a capture runs, on the capture's reader thread.
using KeyboardCaptureCallback = std::function<void(unsigned message, const KBDLLHOOKSTRUCT& event)>;

// While this object lives, every keystroke of the session goes to the callback
// and nowhere else.  Destroying it ends the grab.
class KeyboardCapture {
public:
    virtual ~KeyboardCapture() = default;
};

// X11 grab when DISPLAY is set, otherwise an evdev grab of every keyboard.
// Null (with a reason in `error`) when no source can grab.
std::unique_ptr<KeyboardCapture> StartKeyboardCapture(KeyboardCaptureCallback callback, std::string* error);
