#include "platform/KeyboardCapture.h"

#include "platform/EvdevKeyboardCapture.h"
#include "platform/X11KeyboardCapture.h"

#include <cstdlib>

std::unique_ptr<KeyboardCapture> StartKeyboardCapture(KeyboardCaptureCallback callback, std::string* error) {
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    if (!callback) {
        reason = "no receiver for the captured keys";
        return nullptr;
    }
    std::string x11Reason;
    if (const char* display = std::getenv("DISPLAY"); display && *display) {
        if (auto capture = StartX11KeyboardCapture(callback, &x11Reason)) {
            return capture;
        }
    }
    // Without a usable display (a console session, or an X server that
    // refuses the grab) the kernel's devices are the other way to the keys.
    std::string evdevReason;
    if (auto capture = StartEvdevKeyboardCapture(std::move(callback), &evdevReason)) {
        return capture;
    }
    reason = x11Reason.empty() ? evdevReason : x11Reason + "; " + evdevReason;
    return nullptr;
}
