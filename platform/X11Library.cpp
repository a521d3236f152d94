#include "platform/X11Library.h"

#include "platform/SharedLibrary.h"

#include <memory>

namespace {

struct Loaded {
    std::unique_ptr<X11Library> x11;
    std::string error;
};

Loaded load() {
    static SharedLibrary library("libX11.so.6");
    auto x11 = std::make_unique<X11Library>();
    const bool complete =
        library.resolve(x11->openDisplay, "XOpenDisplay") &&
        library.resolve(x11->closeDisplay, "XCloseDisplay") &&
        library.resolve(x11->setDetectableAutoRepeat, "XkbSetDetectableAutoRepeat") &&
        library.resolve(x11->grabKeyboard, "XGrabKeyboard") &&
        library.resolve(x11->ungrabKeyboard, "XUngrabKeyboard") && library.resolve(x11->flush, "XFlush") &&
        library.resolve(x11->pending, "XPending") && library.resolve(x11->nextEvent, "XNextEvent") &&
        library.resolve(x11->lookupKeysym, "XLookupKeysym");
    if (!complete) {
        return {nullptr, "the X11 library cannot be used: " + library.error()};
    }
    return {std::move(x11), {}};
}

} // namespace

const X11Library* x11Library(std::string* error) {
    static const Loaded loaded = load();
    if (!loaded.x11 && error != nullptr) {
        *error = loaded.error;
    }
    return loaded.x11.get();
}
