#include "tools/zarn-sim/SimFactory.h"

#include "model/Catalogue.h"

namespace {

// Payload offsets of a normal table entry.
constexpr std::size_t kEntryLayer = 2;
constexpr std::size_t kEntryKey = 3;
constexpr std::size_t kNormalCount = 5;
constexpr std::size_t kNormalCodes = 6;

} // namespace

SimMemory factoryMemory(const SimModel& model) {
    // The model's table is indexed 2 x key number + layer (0 top, 1 Fn); the
    // keyboard's slots run layer by layer.
    const auto& table = DefaultCodeTable(model.modelType);
    SimMemory memory;
    for (int layer = 0; layer < kSimLayers; ++layer) {
        for (int key = 1; key <= kSimKeysPerLayer; ++key) {
            const int code = table[static_cast<std::size_t>(2 * key + layer)];
            Payload entry{};
            entry[1] = SimCommand::TableEntry;
            entry[kEntryLayer] = static_cast<std::uint8_t>(layer + 1);
            entry[kEntryKey] = static_cast<std::uint8_t>(key);
            if (code != 0) {
                entry[kNormalCount] = 1;
                entry[kNormalCodes] = static_cast<std::uint8_t>(code);
            }
            memory.slots[static_cast<std::size_t>(layer * kSimKeysPerLayer + key - 1)] = {entry};
        }
    }
    return memory;
}
