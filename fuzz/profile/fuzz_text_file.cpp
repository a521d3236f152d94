#include "fuzz/profile/MemoryFile.h"
#include "model/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>

// Reads arbitrary bytes as a text file, then writes the text back with the
// byte-order mark the read reported.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFile input(data, size);
    if (!input.ok()) {
        return 0;
    }
    std::u16string text;
    unsigned flags = 0;
    XmlResult result;
    if (!readTextFile(input.path(), text, flags, result)) {
        return 0;
    }
    MemoryFile output(nullptr, 0);
    if (output.ok()) {
        writeTextFile(output.path(), text, flags, result);
    }
    return 0;
}
