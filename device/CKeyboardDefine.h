#pragma once

class COrvoUtil;

// Base of a keyboard's definition mirror.  It sends through a transport it
// does not own.
class CKeyboardDefine {
public:
    explicit CKeyboardDefine(COrvoUtil& transport) : transport_(transport) {}
    virtual ~CKeyboardDefine() = default;
    CKeyboardDefine(const CKeyboardDefine&) = delete;
    CKeyboardDefine& operator=(const CKeyboardDefine&) = delete;

    virtual const char* productIdText() const = 0;
    virtual const char* vendorIdText() const = 0;

protected:
    COrvoUtil& transport_;
};
