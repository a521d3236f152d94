#include "fuzz/profile/MemoryFile.h"
#include "model/ConfigDocument.h"
#include "model/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Loads arbitrary bytes as a profile into one document kept across runs,
// as the program's own document is.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<ConfigDocument> doc = [] {
        auto made = std::make_unique<ConfigDocument>();
        made->modelType = 3;
        made->ResetToDefaults();
        return made;
    }();
    MemoryFile input(data, size);
    if (!input.ok()) {
        return 0;
    }
    LoadProfile(*doc, input.path());
    return 0;
}
