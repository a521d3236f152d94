#include "platform/SharedLibrary.h"

#include <dlfcn.h>

SharedLibrary::SharedLibrary(const char* fileName) {
    // Symbols stay local so that two versions of a library, ours and one the
    // program's toolkit loaded, never resolve into each other.
    handle_ = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = ::dlerror();
        error_ = why != nullptr ? why : std::string("cannot load ") + fileName;
    }
}

void* SharedLibrary::address(const char* symbol) {
    if (handle_ == nullptr) {
        return nullptr;
    }
    ::dlerror();
    void* found = ::dlsym(handle_, symbol);
    if (found == nullptr) {
        const char* why = ::dlerror();
        error_ = why != nullptr ? why : std::string("no symbol ") + symbol;
    }
    return found;
}
