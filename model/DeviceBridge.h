#pragma once

#include "platform/WindowHandle.h"

class ConfigDocument;

// The five device operations of the document.  Each returns whether the
// device operation succeeded; a failed read leaves the document as it was.
bool WriteKeysToDevice(ConfigDocument& doc, const WindowHandle& window);
bool ReadKeysFromDevice(ConfigDocument& doc, const WindowHandle& window);
bool WriteLightsToDevice(ConfigDocument& doc);
bool ReadLightsFromDevice(ConfigDocument& doc);
bool ReadCountersFromDevice(ConfigDocument& doc);
