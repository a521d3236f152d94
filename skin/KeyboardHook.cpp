#include "skin/KeyboardHook.h"

#include "device/COrvoHWI.h"
#include "platform/KeyboardCapture.h"

void DeviceKeyboardHook::install(const WindowHandle& window) {
    InstallHook(window);
}

void DeviceKeyboardHook::uninstall() {
    UninstallHook();
}

void ScriptedKeyboardHook::install(const WindowHandle& window) {
    window_ = window;
    ++installs_;
}

void ScriptedKeyboardHook::uninstall() {
    window_ = WindowHandle();
    ++uninstalls_;
}

bool ScriptedKeyboardHook::type(unsigned message, std::uint32_t virtualKey, bool extended) const {
    WPARAM wParam = virtualKey & kHookKeyCodeMask;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        wParam |= kHookKeyUpBit;
    }
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
        wParam |= kHookSystemKeyBit;
    }
    return window_.post(UM_HOOK_KEY, wParam, extended ? kHookExtendedKeyBit : 0);
}

HookKey DecodeHookKey(WPARAM wParam, LPARAM lParam) {
    return {static_cast<int>(wParam & kHookKeyCodeMask), (wParam & kHookKeyUpBit) != 0,
            (wParam & kHookSystemKeyBit) != 0, (lParam & kHookExtendedKeyBit) != 0};
}
