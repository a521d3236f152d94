#pragma once

#include "model/ConfigDocument.h"
#include "platform/WindowHandle.h"

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
