#pragma once

#include "device/ReportLayout.h"

#include <cstdint>

// What one key does on one layer of the keyboard, and how that travels as
// report payloads.
class CKeyDefine {
public:
    CKeyDefine(int key, int layer, int type) : keyNumber(key), layerNumber(layer), recordType(type) {}
    virtual ~CKeyDefine() = default;
    CKeyDefine(const CKeyDefine&) = delete;
    CKeyDefine& operator=(const CKeyDefine&) = delete;

    // Without a buffer only sets `length` to the bytes the record needs (a
    // multiple of `blockSize`).  With one, `length` is its capacity; the record
    // writes its payloads into the zero-filled buffer and fails, writing
    // nothing, when they do not fit.
    virtual bool encode(std::uint8_t* buffer, int blockSize, int& length) const = 0;

    // Rebuilds the payload fields from `length` bytes of payloads; key, layer
    // and type were set by whoever created the record.  Reads only inside the
    // buffer whatever its counts claim.
    virtual bool decode(const std::uint8_t* buffer, int blockSize, int length) = 0;

    int keyNumber;
    int layerNumber;
    int recordType;

protected:
    void writeEntryHeader(std::uint8_t* payload) const {
        payload[1] = kEntryCommand;
        payload[2] = static_cast<std::uint8_t>(layerNumber);
        payload[3] = static_cast<std::uint8_t>(keyNumber);
        payload[4] = static_cast<std::uint8_t>(recordType);
    }
};
