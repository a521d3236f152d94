#include "platform/IcuLibrary.h"

#include "platform/SharedLibrary.h"

#include <unicode/uvernum.h>

#include <memory>

// ICU renames every entry point after its major version ("ucnv_open_72"); the
// headers' own renaming macros give the names this tree was built against.
#define ZARN_ICU_TEXT(x) #x
#define ZARN_ICU_NAME(x) ZARN_ICU_TEXT(x)

namespace {

std::unique_ptr<IcuLibrary> load() {
    static SharedLibrary library("libicuuc.so." ZARN_ICU_NAME(U_ICU_VERSION_MAJOR_NUM));
    auto icu = std::make_unique<IcuLibrary>();
    const bool complete = library.resolve(icu->open, ZARN_ICU_NAME(ucnv_open)) &&
                          library.resolve(icu->close, ZARN_ICU_NAME(ucnv_close)) &&
                          library.resolve(icu->setToUCallBack, ZARN_ICU_NAME(ucnv_setToUCallBack)) &&
                          library.resolve(icu->setFromUCallBack, ZARN_ICU_NAME(ucnv_setFromUCallBack)) &&
                          library.resolve(icu->toUnicode, ZARN_ICU_NAME(ucnv_toUnicode)) &&
                          library.resolve(icu->fromUnicode, ZARN_ICU_NAME(ucnv_fromUnicode)) &&
                          library.resolve(icu->toUnicodeStop, ZARN_ICU_NAME(UCNV_TO_U_CALLBACK_STOP)) &&
                          library.resolve(icu->fromUnicodeStop, ZARN_ICU_NAME(UCNV_FROM_U_CALLBACK_STOP));
    return complete ? std::move(icu) : nullptr;
}

} // namespace

const IcuLibrary* icuLibrary() {
    static const std::unique_ptr<IcuLibrary> icu = load();
    return icu.get();
}
