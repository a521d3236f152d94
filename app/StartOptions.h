#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks of the program.
struct StartOptions {
    bool simulate = false;
    std::string simulatedModel; // empty: the simulator's default model
    std::optional<float> scale; // --scale, else ZARN_SCALE
    bool help = false;
    bool version = false;
    std::string error; // non-empty: the command line is not understood
};

// `arguments` without the program name; `scaleVariable` the value of
// ZARN_SCALE or null.  --scale wins over the variable.
StartOptions ParseStartOptions(const std::vector<std::string>& arguments, const char* scaleVariable);

const char* UsageText();

// Empty when the program has somewhere to show its windows; otherwise what to
// tell the user.  Without one Qt aborts with a core dump and a list of
// platform plugins.  A platform chosen in QT_QPA_PLATFORM is left to Qt.
std::string MissingDisplayText(const char* qpaPlatform, const char* display, const char* waylandDisplay);

// The platform plugins to ask Qt for, in order, when QT_QPA_PLATFORM does not
// say: a native Wayland client in a Wayland session (X11 when the Wayland
// plugin is missing); empty leaves the choice to Qt.
std::string PreferredQtPlatform(const char* qpaPlatform, const char* waylandDisplay);
