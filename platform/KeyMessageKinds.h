#pragma once

#include "platform/KeyboardCapture.h"
#include "platform/VirtualKey.h"

#include <cstdint>

// Picks the key message kind of each event the way the original platform
// does: WM_SYSKEYDOWN and WM_SYSKEYUP while Alt is held (the Alt key's own
// press and release included), unless Ctrl is held too, which makes the
// combination an ordinary key; WM_KEYDOWN and WM_KEYUP otherwise.
class KeyMessageKinds {
public:
    unsigned next(std::uint32_t vkCode, bool down);
    // Hands one translated key event to the capture's callback.
    void deliver(const KeyboardCaptureCallback& callback, const VirtualKey& key, bool down,
                 std::uint32_t scanCode, std::uint32_t time);

private:
    bool leftAlt_ = false;
    bool rightAlt_ = false;
    bool leftCtrl_ = false;
    bool rightCtrl_ = false;
};
