#pragma once

#include "platform/VirtualKey.h"

#include <optional>

// The virtual key of an X11 keysym, nothing for keysyms no key message has.
// Letters map the same in either case; keypad keysyms keep their NumLock
// meaning (KP_7 is the keypad 7, KP_Home the Home key).
std::optional<VirtualKey> virtualKeyFromKeysym(unsigned long keysym);
