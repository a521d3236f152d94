#pragma once

#include "platform/KeyboardCapture.h"

#include <memory>

// A keyboard grab on the X display: our own connection grabs the keyboard on
// the root window, so every key reaches us even while another window has the
// focus, and a reader thread translates the events.  The X server drops the
// grab of a client that dies, so a crash never leaves the keyboard captured.
std::unique_ptr<KeyboardCapture> StartX11KeyboardCapture(KeyboardCaptureCallback callback,
                                                         CaptureFailure* failure);
