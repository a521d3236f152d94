#include "model/AssignmentVocabulary.h"
#include "model/ConfigDocument.h"
#include "tools/zarnctl/JsonEdits.h"
#include "tools/zarnctl/JsonValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// Reads arbitrary bytes as the JSON of set --json and stores what passes
// into one document kept across runs, as set does into its profile.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<ConfigDocument> doc = [] {
        auto made = std::make_unique<ConfigDocument>();
        made->BuildCatalogue();
        made->modelType = 1;
        made->ResetToDefaults();
        return made;
    }();
    static const AssignmentVocabulary words(*doc);
    const JsonParse parsed = ParseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.value) {
        return 0;
    }
    std::vector<std::string> notes;
    std::string error;
    auto edits = ReadJsonEdits(*parsed.value, words, notes, error);
    if (!edits) {
        return 0;
    }
    OrderForStoring(edits->keys);
    for (const SlotEdit& edit : edits->keys) {
        StoreAssignment(*doc, edit.key, edit.layer, edit.assignment);
    }
    for (const auto& [key, colour] : edits->colours) {
        doc->keyColours[static_cast<std::size_t>(key)] = colour;
    }
    return 0;
}
