#pragma once

#include "device/CKeyDefine.h"

#include <vector>

// A sequence of actions, split over as many 64-byte chunks as its action
// data needs; every chunk repeats the header.
class CMacroKeyDefine : public CKeyDefine {
public:
    static constexpr int kHeaderSize = 11;
    static constexpr int kDataPerChunk = kPayloadSize - kHeaderSize;
    // The header carries the action data length in 16 bits.
    static constexpr int kMaxDataBytes = 0xFFFF;
    static constexpr int kMaxChunks = (kMaxDataBytes + kDataPerChunk - 1) / kDataPerChunk;
    static constexpr int kDelayMarker = 0xC8;

    CMacroKeyDefine(int key, int layer, int type) : CKeyDefine(key, layer, type) {}

    bool encode(std::uint8_t* buffer, int blockSize, int& length) const override;
    bool decode(const std::uint8_t* buffer, int blockSize, int length) override;

    int playType() const { return recordType; }
    int count() const { return static_cast<int>(codes.size()); }

    // Action data bytes of the whole macro, as the header's length field says.
    int dataLength() const;
    static int dataLengthFor(int actionCount, bool withDelays) {
        return withDelays ? 4 * actionCount : actionCount;
    }
    static int chunksFor(int dataBytes) { return (dataBytes + kDataPerChunk - 1) / kDataPerChunk; }

    int repeatCount = 0;
    int hasDelays = 0;
    int fixedDelay = 0;
    std::vector<int> codes;
    std::vector<int> delays;
};
