#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class WindowHandle;

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

// Where the captured keys come from.
enum class CaptureSource { None, X11Grab, EvdevGrab, WindowKeys };

// Why a source could not start; the program words it for the user.
enum class CaptureFailure {
    NoX11Library,   // libX11 is missing or incomplete
    NoDisplay,      // the X display cannot be opened
    GrabTaken,      // another program holds the keyboard grab of the display
    NoInputDevices, // there is no keyboard under /dev/input
    NoInputAccess,  // the keyboards under /dev/input cannot be read (the input group)
    NoWindowKeys,   // the window cannot read its own keys on this desktop
    SystemError,    // the capture's thread or pipe could not be made
};

struct CaptureStart {
    std::unique_ptr<KeyboardCapture> capture;
    CaptureSource source = CaptureSource::None;
    // Of every source tried without success, in the order tried.
    std::vector<CaptureFailure> failures;
};

// An X11 session: a display, and no Wayland compositor whose native windows
// an X11 grab (of XWayland) would not see.
bool IsX11Session();

// The first source that starts, in this order: the X11 grab on an X11
// session (it sees keys wherever the focus is); the evdev grab where
// /dev/input is readable (it sees keys the desktop keeps for itself, too);
// the keys of the window itself (its handle's key source).  No capture when
// none starts, with the reason of each.
CaptureStart StartKeyboardCapture(KeyboardCaptureCallback callback, const WindowHandle& window);
