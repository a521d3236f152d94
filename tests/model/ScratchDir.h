#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder under the system's temporary directory, removed with its contents.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zarn-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) {
            path_ = made;
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::string path = file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string path_;
};

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
