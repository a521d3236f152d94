#pragma once

#include <memory>
#include <string>

// Model names the simulator can play: "ZarnRGB.BT", "ZarnBT", "Zarn", "ZarnRGB".
inline constexpr const char* kDefaultSimulatedModel = "ZarnRGB.BT";

// A simulated keyboard running inside the process (for --simulate): it serves
// a private virtual-HID socket and puts that socket first in ZARN_VIRTUAL_HID,
// so the device library finds it like a plugged-in keyboard.  Its memory is
// kept under $XDG_STATE_HOME/zarn/ so that a write survives to the next run.
class EmbeddedSimulator {
public:
    virtual ~EmbeddedSimulator() = default;

    // Null, with a reason in `error`, for an unknown model or a socket that cannot be served.
    static std::unique_ptr<EmbeddedSimulator> start(const std::string& modelName, std::string* error);
};
