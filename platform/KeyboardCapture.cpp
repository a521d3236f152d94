#include "platform/KeyboardCapture.h"

#include "platform/EvdevKeyboardCapture.h"
#include "platform/WindowKeyCapture.h"
#include "platform/X11KeyboardCapture.h"

#include <cstdlib>
#include <string_view>

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool IsX11Session() {
    if (!isSet("DISPLAY")) {
        return false;
    }
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return !isSet("WAYLAND_DISPLAY") && (type == nullptr || std::string_view(type) != "wayland");
}

CaptureStart StartKeyboardCapture(KeyboardCaptureCallback callback, const WindowHandle& window) {
    CaptureStart start;
    if (!callback) {
        start.failures.push_back(CaptureFailure::SystemError);
        return start;
    }
    CaptureFailure failure = CaptureFailure::SystemError;
    if (IsX11Session()) {
        if ((start.capture = StartX11KeyboardCapture(callback, &failure))) {
            start.source = CaptureSource::X11Grab;
            return start;
        }
        start.failures.push_back(failure);
    }
    if ((start.capture = StartEvdevKeyboardCapture(callback, &failure))) {
        start.source = CaptureSource::EvdevGrab;
        return start;
    }
    start.failures.push_back(failure);
    if ((start.capture = StartWindowKeyCapture(window, std::move(callback), &failure))) {
        start.source = CaptureSource::WindowKeys;
        return start;
    }
    start.failures.push_back(failure);
    return start;
}
