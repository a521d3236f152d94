#pragma once

#include <string>

// Why a HID interface could not be opened or a transfer on it failed, told
// apart so the user can be told what to do about it.
enum class HidFailureKind {
    None,
    NotFound,         // no keyboard of the family is present
    PermissionDenied, // present, but this user may not open it
    Busy,             // another program is in the middle of a transfer with it
    Gone,             // it went away (unplugged, or the simulator ended)
    NoAnswer,         // it stopped answering within the time-out
    SystemError,      // anything else; `systemError` holds the errno value
};

struct HidFailure {
    HidFailureKind kind = HidFailureKind::None;
    // The device node or virtual socket the failure concerns.
    std::string node;
    int systemError = 0;

    bool failed() const { return kind != HidFailureKind::None; }
};

// The kind an errno value of an open, connect, read or write stands for.
// EAGAIN is left to the caller: it is a time-out on a read and a held lock
// on a lock.
HidFailureKind HidFailureKindOf(int error);
