#pragma once

#include "platform/KeyboardCapture.h"

#include <memory>

// An exclusive grab (EVIOCGRAB) of every keyboard under /dev/input, for a
// session without an X display.  Needs read access to the event devices (the
// input group).  The kernel releases the grab when the process dies.
std::unique_ptr<KeyboardCapture> StartEvdevKeyboardCapture(KeyboardCaptureCallback callback,
                                                           CaptureFailure* failure);
