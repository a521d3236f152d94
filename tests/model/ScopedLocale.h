#pragma once

#include <cstdlib>
#include <string>

// Sets LC_ALL for one test, so that the default code page is known.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* locale) {
        if (const char* old = std::getenv("LC_ALL")) {
            old_ = old;
            hadOld_ = true;
        }
        ::setenv("LC_ALL", locale, 1);
    }
    ~ScopedLocale() {
        if (hadOld_) {
            ::setenv("LC_ALL", old_.c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    std::string old_;
    bool hadOld_ = false;
};
