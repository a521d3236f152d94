#pragma once

#include "platform/VirtualKey.h"

#include <optional>

// The virtual key of a Linux input event code (KEY_*), nothing for codes no
// key message has.  Keypad keys are the keypad's digits and operators: evdev
// reports the physical key, and NumLock is not known at this level.
std::optional<VirtualKey> virtualKeyFromEvdev(unsigned code);
