#pragma once

#include "device/CKeyDefine.h"

#include <vector>

// A key that sends a list of codes under a 16-bit parameter (an emulation's
// delay in milliseconds).
class CContinousKeyDefine : public CKeyDefine {
public:
    // Codes sit at payload offsets 8..63.
    static constexpr int kMaxCodes = 56;

    CContinousKeyDefine(int key, int layer) : CKeyDefine(key, layer, 1) {}

    bool encode(std::uint8_t* buffer, int blockSize, int& length) const override;
    bool decode(const std::uint8_t* buffer, int blockSize, int length) override;

    int value = 0;
    std::vector<int> codes;
};
