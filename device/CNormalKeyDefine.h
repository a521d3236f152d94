#pragma once

#include "device/CKeyDefine.h"

#include <vector>

// A key that sends one or more codes together.
class CNormalKeyDefine : public CKeyDefine {
public:
    // Codes sit at payload offsets 6..63.
    static constexpr int kMaxCodes = 58;

    CNormalKeyDefine(int key, int layer) : CKeyDefine(key, layer, 0) {}

    bool encode(std::uint8_t* buffer, int blockSize, int& length) const override;
    bool decode(const std::uint8_t* buffer, int blockSize, int length) override;

    std::vector<int> codes;
};
