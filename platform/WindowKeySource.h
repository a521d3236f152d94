#pragma once

#include "platform/KeyboardCapture.h"

// The key events a capturing window receives itself while it has the focus:
// the capture of last resort.  It needs no privilege and works on every
// desktop (an X11, XWayland or native Wayland client alike), but sees only
// the keys typed into that window.  The window implements it; the keyboard
// hook starts and stops it.
//
// Header-only on purpose, as WindowHandle: the program implements it and the
// device library calls it.
class WindowKeySource {
public:
    virtual ~WindowKeySource() = default;

    // From now on every key event of the window goes to `callback` (on the
    // window's thread) and to none of its widgets.  False when the window
    // cannot tell keys apart on this desktop.
    virtual bool startKeyFeed(KeyboardCaptureCallback callback) = 0;
    virtual void stopKeyFeed() = 0;
};
