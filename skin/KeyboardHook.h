#pragma once

#include "device/COrvoHWI.h"
#include "platform/WindowHandle.h"

#include <cstdint>
#include <memory>
#include <vector>

class WindowKeySource;

// The keyboard hook as the windows use it: while installed, every keystroke
// of the session reaches one window as UM_HOOK_KEY and nowhere else.  The
// program holds the device library's hook; tests hold ScriptedKeyboardHook.
class KeyboardHook {
public:
    virtual ~KeyboardHook() = default;

    // Whether a capture runs now, and from where; why not when none does.
    virtual HookStatus install(const WindowHandle& window) = 0;
    virtual void uninstall() = 0;
};

// InstallHook and UninstallHook of the device library.
class DeviceKeyboardHook final : public KeyboardHook {
public:
    HookStatus install(const WindowHandle& window) override;
    void uninstall() override;
};

// Keeps count of what the windows did with the hook, and delivers keys a test
// types to the window holding it, encoded as the device library's hook does.
class ScriptedKeyboardHook final : public KeyboardHook {
public:
    ScriptedKeyboardHook();
    ~ScriptedKeyboardHook() override;

    HookStatus install(const WindowHandle& window) override;
    void uninstall() override;

    // Installs fail with these reasons from now on (empty: they succeed again).
    void failInstalls(std::vector<CaptureFailure> failures) { failures_ = std::move(failures); }
    // Installs read the window's own keys, as where nothing can grab the
    // keyboard, instead of keys typed with type().
    void readWindowKeys(bool on) { readWindowKeys_ = on; }

    bool installed() const { return static_cast<bool>(window_); }
    int installs() const { return installs_; }
    int uninstalls() const { return uninstalls_; }

    // `message` is WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP.  False
    // when no window holds the hook (the key goes where it would go anyway).
    bool type(unsigned message, std::uint32_t virtualKey, bool extended = false) const;

private:
    void stopFeeding();

    WindowHandle window_;
    WindowKeySource* feeding_ = nullptr;
    std::vector<CaptureFailure> failures_;
    bool readWindowKeys_ = false;
    int installs_ = 0;
    int uninstalls_ = 0;
};

// A UM_HOOK_KEY message taken apart.
struct HookKey {
    int virtualKey = 0;
    bool release = false;
    bool systemKey = false;
    bool extended = false;
};
HookKey DecodeHookKey(WPARAM wParam, LPARAM lParam);
