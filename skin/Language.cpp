#include "skin/Language.h"

QString ByLanguage(const std::string& uiLanguage, const char* zh, const char* en) {
    if (uiLanguage == "zh-CN") {
        return QString::fromUtf8(zh);
    }
    return uiLanguage == "en-US" ? QString::fromUtf8(en) : QString();
}
