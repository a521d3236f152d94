#include "platform/HidapiLibrary.h"

#include "platform/SharedLibrary.h"

#include <memory>

namespace {

struct Loaded {
    std::unique_ptr<HidapiLibrary> hidapi;
    std::string error;
};

Loaded load() {
    static SharedLibrary library("libhidapi-hidraw.so.0");
    auto hidapi = std::make_unique<HidapiLibrary>();
    decltype(&hid_init) init = nullptr;
    const bool complete =
        library.resolve(init, "hid_init") && library.resolve(hidapi->enumerate, "hid_enumerate") &&
        library.resolve(hidapi->freeEnumeration, "hid_free_enumeration") &&
        library.resolve(hidapi->openPath, "hid_open_path") && library.resolve(hidapi->close, "hid_close") &&
        library.resolve(hidapi->write, "hid_write") &&
        library.resolve(hidapi->readTimeout, "hid_read_timeout");
    if (!complete) {
        return {nullptr, "the hidapi library cannot be used: " + library.error()};
    }
    if (init() != 0) {
        return {nullptr, "the hidapi library could not start"};
    }
    return {std::move(hidapi), {}};
}

} // namespace

const HidapiLibrary* hidapiLibrary(std::string* error) {
    static const Loaded loaded = load();
    if (!loaded.hidapi && error != nullptr) {
        *error = loaded.error;
    }
    return loaded.hidapi.get();
}
