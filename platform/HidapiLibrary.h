#pragma once

#include <hidapi/hidapi.h>

#include <string>

// The hidapi functions the hidraw backend calls, from the system's
// libhidapi-hidraw (which brings libudev with it).  Commands that never touch
// a hidraw node, and every run on virtual keyboards alone, do not load it.
struct HidapiLibrary {
    decltype(&hid_enumerate) enumerate = nullptr;
    decltype(&hid_free_enumeration) freeEnumeration = nullptr;
    decltype(&hid_open_path) openPath = nullptr;
    decltype(&hid_close) close = nullptr;
    decltype(&hid_write) write = nullptr;
    decltype(&hid_read_timeout) readTimeout = nullptr;
};

// Loaded and initialised on the first call; null for good, with the reason
// in `error`, when the system has no usable hidapi.
const HidapiLibrary* hidapiLibrary(std::string* error = nullptr);
