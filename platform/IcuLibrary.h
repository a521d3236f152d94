#pragma once

#include <unicode/ucnv.h>

// The few ICU converter functions the code-page layer calls, found in the
// ICU library this tree was built against.
struct IcuLibrary {
    decltype(&ucnv_open) open = nullptr;
    decltype(&ucnv_close) close = nullptr;
    decltype(&ucnv_setToUCallBack) setToUCallBack = nullptr;
    decltype(&ucnv_setFromUCallBack) setFromUCallBack = nullptr;
    decltype(&ucnv_toUnicode) toUnicode = nullptr;
    decltype(&ucnv_fromUnicode) fromUnicode = nullptr;
    UConverterToUCallback toUnicodeStop = nullptr;
    UConverterFromUCallback fromUnicodeStop = nullptr;
};

// Loaded on the first call; null for good when ICU cannot be loaded, and
// the pages it would convert fall back as if it lacked them.
const IcuLibrary* icuLibrary();
