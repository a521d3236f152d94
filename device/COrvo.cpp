#include "device/COrvo.h"

#include "device/CContinousKeyDefine.h"
#include "device/CNormalKeyDefine.h"
#include "device/COrvoUtil.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Payload = std::array<std::uint8_t, kPayloadSize>;

constexpr int kAreaChunkData = kPayloadSize - 3;
constexpr int kHighestRecordType = 4;

std::unique_ptr<CKeyDefine> makeRecord(int keyNumber, int layerNumber, int type) {
    switch (type) {
    case 0:
        return std::make_unique<CNormalKeyDefine>(keyNumber, layerNumber);
    case 1:
        return std::make_unique<CContinousKeyDefine>(keyNumber, layerNumber);
    default:
        return std::make_unique<CMacroKeyDefine>(keyNumber, layerNumber, type);
    }
}

void postProgress(const WindowHandle& window, int slot) {
    if (window) {
        window.post(UM_DEVICE_PROGRESS, static_cast<WPARAM>(slot), 0);
    }
}

// The reports of one area's data chunks, plus the end marker.
long areaReports(int areaSize) {
    return (areaSize + kAreaChunkData - 1) / kAreaChunkData + 1;
}

} // namespace

COrvo::COrvo(COrvoUtil& transport, const std::atomic<bool>* cancel)
    : CKeyboardDefine(transport), cancel_(cancel) {}

bool COrvo::sendPayload(const std::uint8_t* payload) {
    std::array<std::uint8_t, kHidReportSize> report{};
    std::memcpy(report.data() + 1, payload, kPayloadSize);
    return transport_.writeReport(report.data(), static_cast<int>(report.size()));
}

bool COrvo::sendCommand(std::uint8_t command) {
    Payload payload{};
    payload[1] = command;
    return sendPayload(payload.data());
}

bool COrvo::receive(std::uint8_t* payload, const TransferDeadline& deadline) {
    const int timeoutMs = deadline.readTimeoutMs(transport_.readTimeoutMs());
    if (timeoutMs <= 0) {
        return false;
    }
    int length = kPayloadSize;
    return transport_.readReport(payload, length, timeoutMs);
}

// Begin, every slot's reports (one for an empty slot, none for a macro
// without actions) and the end.
long COrvo::reportsToWrite() const {
    long reports = 2;
    for (const auto& record : KeySlotTable) {
        int length = kPayloadSize;
        if (record != nullptr && !record->encode(nullptr, kPayloadSize, length)) {
            length = kPayloadSize;
        }
        reports += length / kPayloadSize;
    }
    return reports;
}

bool COrvo::sendSlot(int slot, const TransferDeadline& deadline) {
    if (deadline.over()) {
        return false;
    }
    const CKeyDefine* record = KeySlotTable[static_cast<std::size_t>(slot)].get();
    if (record == nullptr) {
        // An empty slot travels as a normal record without codes.
        Payload empty{};
        empty[1] = kEntryCommand;
        empty[2] = static_cast<std::uint8_t>(slot / kKeysPerLayer + 1);
        empty[3] = static_cast<std::uint8_t>(slot % kKeysPerLayer + 1);
        return sendPayload(empty.data());
    }
    int length = 0;
    if (!record->encode(nullptr, kPayloadSize, length)) {
        return false;
    }
    // One buffer serves every slot of a write: a long macro needs 79 KB.
    std::vector<std::uint8_t>& buffer = encodeBuffer_;
    buffer.assign(static_cast<std::size_t>(length), 0);
    if (length > 0 && !record->encode(buffer.data(), kPayloadSize, length)) {
        return false;
    }
    for (std::size_t offset = 0; offset < buffer.size(); offset += kPayloadSize) {
        if (deadline.over() || !sendPayload(buffer.data() + offset)) {
            return false;
        }
    }
    return true;
}

// A keyboard that takes each report just before the write time-out would
// otherwise stretch a write over minutes.  A write is not cancelled: the
// keyboard is better off with the whole table than with a part of it.
bool COrvo::writeKeyTable(const WindowHandle& window) {
    const TransferDeadline deadline(reportsToWrite(), nullptr);
    const CKeyboardUtil::Transfer transfer(transport_);
    if (!transfer) {
        return false;
    }
    if (!sendCommand(kBeginKeyTableCommand)) {
        return false;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!sendSlot(slot, deadline)) {
            return false;
        }
        postProgress(window, slot);
    }
    Payload end{};
    std::fill(end.begin() + 1, end.end(), kEndKeyTableCommand);
    return sendPayload(end.data());
}

bool COrvo::readEntry(const std::uint8_t* first, long& reportsLeft, TransferDeadline& deadline,
                      const WindowHandle& window) {
    const int layerNumber = first[2];
    const int keyNumber = first[3];
    const int type = first[4];
    // Entries outside the table are the keyboard's mistake; passing over them
    // keeps the rest of the answer.
    if (!isValidSlot(layerNumber, keyNumber) || type > kHighestRecordType) {
        return true;
    }
    auto& slot = KeySlotTable[static_cast<std::size_t>(slotOf(layerNumber, keyNumber))];
    slot.reset();
    std::unique_ptr<CKeyDefine> record = makeRecord(keyNumber, layerNumber, type);

    const int dataBytes = first[9] * 256 + first[10];
    const int chunks = type <= 1 ? 1 : std::max(1, CMacroKeyDefine::chunksFor(dataBytes));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(chunks * kPayloadSize));
    std::memcpy(buffer.data(), first, kPayloadSize);
    deadline.expect(chunks - 1);
    // Continuation chunks are taken as they come, whatever their command byte.
    for (int chunk = 1; chunk < chunks; ++chunk) {
        if (reportsLeft-- <= 0 || !receive(buffer.data() + chunk * kPayloadSize, deadline)) {
            return false;
        }
    }
    record->decode(buffer.data(), kPayloadSize, static_cast<int>(buffer.size()));
    slot = std::move(record);
    const auto index = static_cast<std::size_t>(slotOf(layerNumber, keyNumber));
    if (!slotReceived_[index]) {
        slotReceived_[index] = true;
        ++keysReceived_;
    }
    postProgress(window, slotOf(layerNumber, keyNumber));
    return true;
}

bool COrvo::readKeyTable(const WindowHandle& window) {
    // Every slot's entry and the end marker; a macro of several chunks adds its own.
    slotReceived_.fill(false);
    keysReceived_ = 0;
    TransferDeadline deadline(kSlotCount + 1, cancel_);
    const CKeyboardUtil::Transfer transfer(transport_);
    if (!transfer) {
        return false;
    }
    if (deadline.over() || !sendCommand(kReadKeyTableCommand)) {
        return false;
    }
    for (long reportsLeft = kMaxKeyTableReports; reportsLeft-- > 0;) {
        Payload payload{};
        if (!receive(payload.data(), deadline)) {
            return false;
        }
        if (payload[0] == kEndKeyTableCommand) {
            return true;
        }
        if (payload[1] == kEntryCommand && !readEntry(payload.data(), reportsLeft, deadline, window)) {
            return false;
        }
    }
    return false;
}

bool COrvo::writeLightArea() {
    const TransferDeadline deadline(areaReports(kLightAreaSize) + 1, nullptr);
    const CKeyboardUtil::Transfer transfer(transport_);
    if (!transfer) {
        return false;
    }
    if (!sendCommand(kBeginLightCommand)) {
        return false;
    }
    for (int offset = 0; offset < kLightAreaSize; offset += kAreaChunkData) {
        if (deadline.over()) {
            return false;
        }
        const int count = std::min(kAreaChunkData, kLightAreaSize - offset);
        Payload chunk{};
        chunk[1] = kLightChunkCommand;
        chunk[2] = static_cast<std::uint8_t>(count);
        std::memcpy(chunk.data() + 3, LightArea.data() + offset, static_cast<std::size_t>(count));
        if (!sendPayload(chunk.data())) {
            return false;
        }
    }
    Payload end{};
    end.fill(kEndAreaCommand);
    return sendPayload(end.data());
}

bool COrvo::readArea(std::uint8_t request, std::uint8_t chunkMarker, std::uint8_t* area, int areaSize,
                     long maxReports, int& position) {
    position = 0;
    const TransferDeadline deadline(areaReports(areaSize), cancel_);
    const CKeyboardUtil::Transfer transfer(transport_);
    if (!transfer) {
        return false;
    }
    if (deadline.over() || !sendCommand(request)) {
        return false;
    }
    for (long reportsLeft = maxReports; reportsLeft-- > 0;) {
        Payload payload{};
        if (!receive(payload.data(), deadline)) {
            return false;
        }
        if (payload[1] == kEndAreaCommand) {
            return true;
        }
        if (payload[1] != chunkMarker) {
            continue;
        }
        // Data past the payload or past the area is dropped, not stored.
        const int count = std::min<int>(payload[2], kAreaChunkData);
        const int stored = std::min(count, areaSize - position);
        std::memcpy(area + position, payload.data() + 3, static_cast<std::size_t>(stored));
        position += stored;
    }
    return false;
}

bool COrvo::readLightArea() {
    return readArea(kReadLightCommand, kLightChunkCommand, LightArea.data(), kLightAreaSize, kMaxLightReports,
                    lightBytesReceived_);
}

bool COrvo::readPressCounters() {
    return readArea(kReadCountersCommand, kReadCountersCommand, PressCounters.data(), kCounterAreaSize,
                    kMaxCounterReports, counterBytesReceived_);
}
