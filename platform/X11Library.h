#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <string>

// The Xlib functions the keyboard grab calls, from the system's libX11.
struct X11Library {
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XkbSetDetectableAutoRepeat) setDetectableAutoRepeat = nullptr;
    decltype(&XGrabKeyboard) grabKeyboard = nullptr;
    decltype(&XUngrabKeyboard) ungrabKeyboard = nullptr;
    decltype(&XFlush) flush = nullptr;
    decltype(&XPending) pending = nullptr;
    decltype(&XNextEvent) nextEvent = nullptr;
    decltype(&XLookupKeysym) lookupKeysym = nullptr;
};

// Loaded on the first capture; null with the reason in `error` when the
// system has no usable libX11.
const X11Library* x11Library(std::string* error);
