#include "app/StartOptions.h"

#include <cmath>
#include <cstdlib>

namespace {

// Scales beyond what any screen needs would make windows of absurd size.
constexpr float kMinScale = 0.5f;
constexpr float kMaxScale = 10.0f;

std::optional<float> parseScale(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(value) || value < kMinScale || value > kMaxScale) {
        return std::nullopt;
    }
    return value;
}

} // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& arguments, const char* scaleVariable) {
    StartOptions options;
    if (scaleVariable != nullptr && *scaleVariable != '\0') {
        options.scale = parseScale(scaleVariable);
        if (!options.scale) {
            options.error = "ZARN_SCALE must be a number from 0.5 to 10";
            return options;
        }
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument.starts_with("--simulate=")) {
            options.simulate = true;
            options.simulatedModel = argument.substr(std::string("--simulate=").size());
        } else if (argument == "--scale" || argument.starts_with("--scale=")) {
            std::string value;
            if (argument == "--scale") {
                if (i + 1 >= arguments.size()) {
                    options.error = "--scale needs a value";
                    return options;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(std::string("--scale=").size());
            }
            options.scale = parseScale(value);
            if (!options.scale) {
                options.error = "--scale must be a number from 0.5 to 10";
                return options;
            }
        } else {
            options.error = "unknown option " + argument;
            return options;
        }
    }
    return options;
}

const char* UsageText() {
    return "Usage: Zarn [--simulate[=MODEL]] [--scale F] [--help] [--version]\n"
           "Configures a Zarn keyboard: key assignments on both layers, backlight, counters, profiles, "
           "firmware.\n"
           "\n"
           "  --simulate[=MODEL]  run on the built-in simulated keyboard (ZarnRGB.BT, ZarnBT, Zarn, "
           "ZarnRGB);\n"
           "                      its memory is kept under $XDG_STATE_HOME/zarn/\n"
           "  --scale F           draw the windows at scale F (0.5 to 10) instead of the one computed from\n"
           "                      the screen height; ZARN_SCALE does the same\n"
           "  --help              this text\n"
           "  --version           the program's version\n";
}

std::string MissingDisplayText(const char* qpaPlatform, const char* display, const char* waylandDisplay) {
    const auto set = [](const char* value) {
        return value != nullptr && *value != '\0';
    };
    if (set(qpaPlatform) || set(display) || set(waylandDisplay)) {
        return {};
    }
    return "Zarn: there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set).\n"
           "Start it from a desktop session, or under a virtual display: xvfb-run Zarn --simulate\n"
           "zarnctl does everything on the command line without a display.\n";
}

std::string PreferredQtPlatform(const char* qpaPlatform, const char* waylandDisplay) {
    const auto set = [](const char* value) {
        return value != nullptr && *value != '\0';
    };
    if (set(qpaPlatform) || !set(waylandDisplay)) {
        return {};
    }
    return "wayland;xcb";
}
