#include "device/COrvoHWI.h"

#include <mutex>

namespace {

// The hook is the process's, not an object's: one window receives the keys
// and one capture feeds them.  The window has its own lock because the
// capture's reader thread reads it while UninstallHook waits for that thread.
struct HookState {
    std::mutex windowMutex;
    WindowHandle window;
    std::mutex captureMutex;
    std::unique_ptr<KeyboardCapture> capture;
};

// Never destroyed: a capture still running when the process exits belongs to
// a window that is gone, and the X server and the kernel drop the grabs of a
// process that has ended anyway.
HookState& hookState() {
    static HookState& state = *new HookState;
    return state;
}

WPARAM messageFlags(WPARAM message) {
    switch (message) {
    case WM_KEYUP:
        return kHookKeyUpBit;
    case WM_SYSKEYDOWN:
        return kHookSystemKeyBit;
    case WM_SYSKEYUP:
        return kHookKeyUpBit | kHookSystemKeyBit;
    default:
        return 0;
    }
}

void setHookWindow(const WindowHandle& window) {
    HookState& state = hookState();
    std::lock_guard lock(state.windowMutex);
    state.window = window;
}

} // namespace

HookStatus InstallHook(const WindowHandle& window) {
    HookState& state = hookState();
    std::lock_guard lock(state.captureMutex);
    state.capture.reset();
    setHookWindow(window);
    CaptureStart start = StartKeyboardCapture(
        [](unsigned message, const KBDLLHOOKSTRUCT& event) {
            KeyBoardProc(0, message, reinterpret_cast<LPARAM>(&event));
        },
        window);
    if (!start.capture) {
        setHookWindow(WindowHandle());
    }
    state.capture = std::move(start.capture);
    return {start.source, std::move(start.failures)};
}

void UninstallHook() {
    HookState& state = hookState();
    std::lock_guard lock(state.captureMutex);
    // No key reaches the window once this returns, even one the capture's
    // reader is delivering right now.
    setHookWindow(WindowHandle());
    state.capture.reset();
}

long KeyBoardProc(int /*code*/, WPARAM message, LPARAM event) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
    if (key == nullptr) {
        return 0;
    }
    const WPARAM wParam = key->vkCode | messageFlags(message);
    const LPARAM lParam = (key->flags & LLKHF_EXTENDED) != 0 ? kHookExtendedKeyBit : 0;
    WindowHandle window;
    {
        HookState& state = hookState();
        std::lock_guard lock(state.windowMutex);
        window = state.window;
    }
    window.post(UM_HOOK_KEY, wParam, lParam);
    return 1;
}
