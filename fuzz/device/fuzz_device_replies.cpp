#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "device/KeyConfigArray.h"
#include "fuzz/device/FuzzConnection.h"

#include <memory>
#include <vector>

// The first byte chooses the transfer; the rest is the keyboard's answer, 65
// bytes per report.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    long writes = 0;
    COrvoUtil transport(std::make_unique<FuzzConnection>(data + 1, size - 1, &writes));
    transport.setReadTimeoutMs(0);
    COrvo mirror(transport);
    switch (data[0] % 3) {
    case 0: {
        mirror.readKeyTable(WindowHandle::create([](unsigned, WPARAM slot, LPARAM) {
            if (slot >= kSlotCount) {
                __builtin_trap();
            }
        }));
        std::vector<int> config(65536);
        for (const auto& record : mirror.KeySlotTable) {
            keyConfigFromRecord(record.get(), config.data(), static_cast<int>(config.size()));
        }
        break;
    }
    case 1:
        mirror.readLightArea();
        break;
    default:
        mirror.readPressCounters();
        break;
    }
    return 0;
}
