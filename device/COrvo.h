#pragma once

#include "device/CKeyDefine.h"
#include "device/CKeyboardDefine.h"
#include "device/CMacroKeyDefine.h"
#include "device/TransferDeadline.h"
#include "platform/WindowHandle.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

// The mirror of one keyboard of this family: its key-definition table, light
// area and press counters, and the transfers that move them.
class COrvo : public CKeyboardDefine {
public:
    static constexpr int kLightAreaSize = 3 * kKeysPerLayer;
    static constexpr int kCounterAreaSize = 4 * kKeysPerLayer;

    // A keyboard that streams data forever must not keep a read going forever:
    // no legal answer needs more reports than these (every slot a macro of the
    // longest length; every area byte in a chunk of its own), plus the end marker.
    static constexpr long kMaxKeyTableReports = long{kSlotCount} * CMacroKeyDefine::kMaxChunks + 1;
    static constexpr long kMaxLightReports = kLightAreaSize + 1;
    static constexpr long kMaxCounterReports = kCounterAreaSize + 1;

    // While `cancel` is set, reads stop before their next report.
    explicit COrvo(COrvoUtil& transport, const std::atomic<bool>* cancel = nullptr);

    const char* productIdText() const override { return "5039"; }
    const char* vendorIdText() const override { return "0483"; }

    // Each transfer fails once it has taken longer than TransferDeadline allows.
    bool writeKeyTable(const WindowHandle& window);
    bool readKeyTable(const WindowHandle& window);
    bool writeLightArea();
    bool readLightArea();
    bool readPressCounters();

    // What the last read of each kind brought, whether or not it ended well:
    // distinct slots of the key table, bytes of the light area and of the
    // counters.  A keyboard sends no entry for an empty key, so fewer than
    // 206 keys can be a whole answer; the areas always come whole.
    int keysReceived() const { return keysReceived_; }
    int lightBytesReceived() const { return lightBytesReceived_; }
    int counterBytesReceived() const { return counterBytesReceived_; }

    static int slotOf(int layerNumber, int keyNumber) {
        return (layerNumber - 1) * kKeysPerLayer + keyNumber - 1;
    }
    static bool isValidSlot(int layerNumber, int keyNumber) {
        return layerNumber >= 1 && layerNumber <= kLayerCount && keyNumber >= 1 && keyNumber <= kKeysPerLayer;
    }

    std::array<std::unique_ptr<CKeyDefine>, kSlotCount> KeySlotTable;
    std::array<std::uint8_t, kLightAreaSize> LightArea{};
    std::array<std::uint8_t, kCounterAreaSize> PressCounters{};

private:
    bool sendCommand(std::uint8_t command);
    bool sendPayload(const std::uint8_t* payload);
    bool receive(std::uint8_t* payload, const TransferDeadline& deadline);
    long reportsToWrite() const;
    bool sendSlot(int slot, const TransferDeadline& deadline);
    bool readEntry(const std::uint8_t* first, long& reportsLeft, TransferDeadline& deadline,
                   const WindowHandle& window);
    bool readArea(std::uint8_t request, std::uint8_t chunkMarker, std::uint8_t* area, int areaSize,
                  long maxReports, int& position);

    const std::atomic<bool>* cancel_;
    std::vector<std::uint8_t> encodeBuffer_;
    std::array<bool, kSlotCount> slotReceived_{};
    int keysReceived_ = 0;
    int lightBytesReceived_ = 0;
    int counterBytesReceived_ = 0;
};
