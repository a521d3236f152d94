#pragma once

#include <string>

// A system library opened when a facility is first used rather than linked:
// a command that never captures keys or converts a legacy code page does not
// pay for loading X11 or ICU.  The library stays loaded for the rest of the
// process, because threads it started or converters it made may outlive
// any one user of it.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* fileName);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    // Why the library or the last symbol asked for is missing.
    const std::string& error() const { return error_; }

    // Sets `function` to the symbol; false (and `function` null) when absent.
    template <typename Function>
    bool resolve(Function& function, const char* symbol) {
        function = reinterpret_cast<Function>(address(symbol));
        return function != nullptr;
    }

private:
    void* address(const char* symbol);

    void* handle_ = nullptr;
    std::string error_;
};
