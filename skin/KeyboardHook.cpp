#include "skin/KeyboardHook.h"

#include "platform/KeyboardCapture.h"
#include "platform/WindowKeySource.h"

#include <utility>

HookStatus DeviceKeyboardHook::install(const WindowHandle& window) {
    return InstallHook(window);
}

void DeviceKeyboardHook::uninstall() {
    UninstallHook();
}

namespace {

// What KeyBoardProc posts for a key event.
bool post(const WindowHandle& window, unsigned message, std::uint32_t virtualKey, bool extended) {
    WPARAM wParam = virtualKey & kHookKeyCodeMask;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        wParam |= kHookKeyUpBit;
    }
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
        wParam |= kHookSystemKeyBit;
    }
    return window.post(UM_HOOK_KEY, wParam, extended ? kHookExtendedKeyBit : 0);
}

} // namespace

ScriptedKeyboardHook::ScriptedKeyboardHook() = default;

ScriptedKeyboardHook::~ScriptedKeyboardHook() {
    stopFeeding();
}

HookStatus ScriptedKeyboardHook::install(const WindowHandle& window) {
    stopFeeding();
    window_ = WindowHandle();
    ++installs_;
    if (!failures_.empty()) {
        return {CaptureSource::None, failures_};
    }
    if (!readWindowKeys_) {
        window_ = window;
        return {CaptureSource::X11Grab, {}};
    }
    WindowKeySource* source = window.keySource();
    const bool started =
        source != nullptr && source->startKeyFeed([window](unsigned message, const KBDLLHOOKSTRUCT& event) {
            post(window, message, event.vkCode, (event.flags & LLKHF_EXTENDED) != 0);
        });
    if (!started) {
        return {CaptureSource::None, {CaptureFailure::NoWindowKeys}};
    }
    window_ = window;
    feeding_ = source;
    return {CaptureSource::WindowKeys, {}};
}

void ScriptedKeyboardHook::uninstall() {
    stopFeeding();
    window_ = WindowHandle();
    ++uninstalls_;
}

void ScriptedKeyboardHook::stopFeeding() {
    if (feeding_ != nullptr) {
        std::exchange(feeding_, nullptr)->stopKeyFeed();
    }
}

bool ScriptedKeyboardHook::type(unsigned message, std::uint32_t virtualKey, bool extended) const {
    return feeding_ == nullptr && post(window_, message, virtualKey, extended);
}

HookKey DecodeHookKey(WPARAM wParam, LPARAM lParam) {
    return {static_cast<int>(wParam & kHookKeyCodeMask), (wParam & kHookKeyUpBit) != 0,
            (wParam & kHookSystemKeyBit) != 0, (lParam & kHookExtendedKeyBit) != 0};
}
