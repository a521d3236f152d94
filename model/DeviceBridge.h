#pragma once

#include "model/ConfigDocument.h"
#include "platform/WindowHandle.h"

#include <vector>

// A write gets no answer from the keyboard, so one that stopped reading
// would take it in silence: a writer asks for the version first and writes
// nothing when this is false.
bool KeyboardAnswers(ConfigDocument& doc);

// The five device operations of the document.  Each returns whether the
// device operation succeeded; a failed read leaves the document as it was.
bool WriteKeysToDevice(ConfigDocument& doc, const WindowHandle& window);
bool ReadKeysFromDevice(ConfigDocument& doc, const WindowHandle& window);
bool WriteLightsToDevice(ConfigDocument& doc);
bool ReadLightsFromDevice(ConfigDocument& doc);
// The colours of keys 1..103 as the keyboard holds them, into `colours`
// (entry 0 and, on failure, every entry untouched), through the document's
// device but leaving the document alone: a read on a worker can then be
// committed by the user-interface thread, and only if it is still wanted.
bool ReadLightsFromDevice(ConfigDocument& doc, KeyColours& colours);
bool ReadCountersFromDevice(ConfigDocument& doc);

// The definition slot (key, layer) would be sent as, in the form the
// keyboard gives it back: the delay after a macro's last step is never read
// back, and a list without steps is no definition.  Two slots with the same
// definition do the same on the keyboard; empty for a key without one.
std::vector<int> KeyDefinition(const ConfigDocument& doc, int layer, int key);
