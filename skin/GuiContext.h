#pragma once

#include "skin/DeviceOperation.h"

#include <functional>
#include <optional>

class AppResources;
class ConfigDocument;
class DeviceWorker;
class HighResolutionClock;
class KeyboardHook;
class QString;
class QWidget;
class UserPrompts;

// Pauses the device workers make after a transfer, as the keyboard needs
// them; tests shorten them.
struct DevicePauses {
    int afterWriteMs = 1000;
    int beforeLightsMs = 2000;
};

// How long a click waits for a double click that drops it, per dialog, and
// how long the virtual keyboard's pick-and-end waits for the button to come
// up; tests shorten them.
struct ClickIntervals {
    int keySettingsDropMs = 200;
    int virtualKeyDropMs = 100;
    int pickAndEndWaitMs = 300;
};

// Dialogs built in other folders, opened through the context so that no
// dialog folder links another.  Each runs modally; until one is wired in, it
// returns Rejected (or, for a device operation, Failed) without showing anything.
struct DialogRunners {
    std::function<int(QWidget* parent)> keySettings;
    std::function<int(QWidget* parent)> backlight;
    DeviceOperationRunner deviceOperation;
};

// The desktop around the program, which tests stand in for.  An empty
// function means the real one: Qt's notification area, the desktop's default
// handler for a document (false when no program takes it), the platform
// plugin's key events.
struct DesktopServices {
    std::function<bool()> trayAvailable;
    std::function<bool(const QString& path)> openDocument;
    // Whether a window's key events name their keys by scan code (the
    // platform plugin decides: xcb and Wayland do).
    std::function<bool()> windowKeysReadable;
};

// Told after each device operation a window runs through runDeviceOperation(),
// before the user hears how it ended; the main window keeps its undo steps,
// and what it knows the keyboard holds, by it.
using DeviceOperationObserver = std::function<void(int operationCode, ProgressOutcome outcome)>;

// What every window of the program works with.
struct GuiContext {
    ConfigDocument& doc;
    const AppResources& resources;
    UserPrompts& prompts;
    DeviceWorker& worker;
    KeyboardHook& hook;
    const HighResolutionClock& clock;
    std::optional<float> scaleOverride;
    DevicePauses pauses;
    ClickIntervals clicks;
    DialogRunners dialogs;
    DesktopServices desktop;
    DeviceOperationObserver deviceOperationEnded;
};
