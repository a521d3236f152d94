#pragma once

#include <memory>
#include <optional>
#include <string>

// Model names the simulator can play: "ZarnRGB.BT", "ZarnBT", "Zarn", "ZarnRGB".
inline constexpr const char* kDefaultSimulatedModel = "ZarnRGB.BT";

// A simulated keyboard running inside the process (for --simulate): it serves
// a private virtual-HID socket and puts that socket first in ZARN_VIRTUAL_HID,
// so the device library finds it like a plugged-in keyboard.  Its memory is
// kept under $XDG_STATE_HOME/zarn/ so that a write survives to the next run.
class EmbeddedSimulator {
public:
    struct Options {
        std::string model = kDefaultSimulatedModel;
        // Empty: $XDG_STATE_HOME/zarn/<model>.state ($HOME/.local/state when
        // XDG_STATE_HOME is unset).
        std::string statePath;
        // No state file at all: the keyboard forgets everything when it goes.
        bool forgetful = false;
        std::string tracePath;
        std::optional<std::string> version;
        // Counter presets as zarn-sim --counters takes them; empty: "demo".
        std::string counters;
        // Notes such as "image complete: ..." also go to stderr.
        bool notesToStderr = true;
    };

    virtual ~EmbeddedSimulator() = default;

    // Null, with a reason in `error`, for an unknown model or a socket that cannot be served.
    static std::unique_ptr<EmbeddedSimulator> start(const std::string& modelName, std::string* error);
    static std::unique_ptr<EmbeddedSimulator> start(const Options& options, std::string* error);

    virtual const std::string& socketPath() const = 0;
    // Empty for a forgetful keyboard.
    virtual const std::string& statePath() const = 0;
    // The ZARN_VIRTUAL_HID entry this keyboard added ("0483:5039:1=PATH").
    virtual const std::string& virtualHidEntry() const = 0;
};
