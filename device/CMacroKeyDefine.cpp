#include "device/CMacroKeyDefine.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kRepeatOffset = 5;
constexpr int kHasDelaysOffset = 6;
constexpr int kFixedDelayOffset = 7;
constexpr int kDataLengthOffset = 9;

void putWord(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

int getWord(const std::uint8_t* at) {
    return at[0] * 256 + at[1];
}

} // namespace

int CMacroKeyDefine::dataLength() const {
    return dataLengthFor(count(), hasDelays != 0);
}

bool CMacroKeyDefine::encode(std::uint8_t* buffer, int blockSize, int& length) const {
    const int dataBytes = dataLength();
    if (dataBytes > kMaxDataBytes) {
        length = 0;
        return false;
    }
    const int needed = kPayloadSize * chunksFor(dataBytes);
    if (buffer == nullptr) {
        length = needed;
        return true;
    }
    if (blockSize != kPayloadSize || length < needed) {
        return false;
    }
    const int chunks = chunksFor(dataBytes);
    for (int chunk = 0; chunk < chunks; ++chunk) {
        std::uint8_t* payload = buffer + chunk * kPayloadSize;
        writeEntryHeader(payload);
        payload[kRepeatOffset] = static_cast<std::uint8_t>(repeatCount);
        payload[kHasDelaysOffset] = static_cast<std::uint8_t>(hasDelays);
        putWord(payload + kFixedDelayOffset, fixedDelay);
        putWord(payload + kDataLengthOffset, dataBytes);
    }
    // Action data runs on from one chunk's data area into the next, past its header.
    std::uint8_t* cursor = buffer + kHeaderSize;
    int room = kDataPerChunk;
    const auto put = [&](int value) {
        if (room == 0) {
            cursor += kHeaderSize;
            room = kDataPerChunk;
        }
        *cursor++ = static_cast<std::uint8_t>(value);
        --room;
    };
    for (std::size_t i = 0; i < codes.size(); ++i) {
        put(codes[i]);
        if (hasDelays != 0) {
            const int delay = i < delays.size() ? delays[i] : 0;
            put(kDelayMarker);
            put(delay >> 8);
            put(delay);
        }
    }
    return true;
}

bool CMacroKeyDefine::decode(const std::uint8_t* buffer, int /*blockSize*/, int length) {
    if (buffer == nullptr || length < kPayloadSize) {
        return false;
    }
    repeatCount = buffer[kRepeatOffset];
    hasDelays = buffer[kHasDelaysOffset];
    fixedDelay = getWord(buffer + kFixedDelayOffset);
    const int dataBytes = getWord(buffer + kDataLengthOffset);

    const int chunks = length / kPayloadSize;
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(chunks * kDataPerChunk));
    for (int chunk = 0; chunk < chunks; ++chunk) {
        const std::uint8_t* piece = buffer + chunk * kPayloadSize + kHeaderSize;
        data.insert(data.end(), piece, piece + kDataPerChunk);
    }
    const int available = static_cast<int>(data.size());

    codes.clear();
    delays.clear();
    if (hasDelays == 0) {
        const int actions = std::min(dataBytes, available);
        codes.assign(data.begin(), data.begin() + actions);
        delays.assign(static_cast<std::size_t>(actions), 0);
        return true;
    }
    // The keyboard's own rule: a length of zero still holds one action, and the
    // last action never has a delay.
    const int claimed = (dataBytes - 1) / 4 + 1;
    const int actions = std::min(claimed, (available + 3) / 4);
    for (int i = 0; i < actions; ++i) {
        codes.push_back(data[static_cast<std::size_t>(4 * i)]);
        const bool last = i + 1 == actions;
        delays.push_back(last ? 0 : getWord(data.data() + 4 * i + 2));
    }
    return true;
}
