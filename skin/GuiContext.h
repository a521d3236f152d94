#pragma once

#include <functional>
#include <optional>

class AppResources;
class ConfigDocument;
class DeviceWorker;
class QWidget;
class UserPrompts;

// Pauses the device workers make after a transfer, as the keyboard needs
// them; tests shorten them.
struct DevicePauses {
    int afterWriteMs = 1000;
    int beforeLightsMs = 2000;
};

// Dialogs the main window opens that are built elsewhere.  Each runs modally
// and returns the QDialog result; until one is wired in, it returns Rejected
// without showing anything.
struct DialogRunners {
    std::function<int(QWidget* parent)> keySettings;
    std::function<int(QWidget* parent)> backlight;
};

// What every window of the program works with.
struct GuiContext {
    ConfigDocument& doc;
    const AppResources& resources;
    UserPrompts& prompts;
    DeviceWorker& worker;
    std::optional<float> scaleOverride;
    DevicePauses pauses;
    DialogRunners dialogs;
};
