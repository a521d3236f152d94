#pragma once

#include "device/CKeyboardUtil.h"

#include <cstdint>
#include <memory>

// The transport of this keyboard family: reports plus the version query.
class COrvoUtil : public CKeyboardUtil {
public:
    static constexpr int kVersionLength = 62;

    using CKeyboardUtil::CKeyboardUtil;

    // Writes exactly 62 wide characters into `text` (no terminator is added: the
    // keyboard pads a short version with zero bytes).
    virtual bool readVersion(wchar_t* text);
};

// Opens the first present interface of this keyboard family; null when none is
// present.  A present keyboard that cannot be opened still gives a transport,
// whose report operations fail.
std::unique_ptr<COrvoUtil> openKeyboard();
