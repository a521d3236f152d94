#include "tools/zarn-sim/SimTrace.h"

#include <cerrno>
#include <cstring>

bool SimTrace::open(const std::string& path, std::string* error) {
    if (path.empty()) {
        file_.reset();
        return true;
    }
    file_.reset(std::fopen(path.c_str(), "w"));
    if (!file_) {
        *error = "cannot write trace file " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void SimTrace::note(const std::string& text) {
    if (file_) {
        std::fprintf(file_.get(), "# %s\n", text.c_str());
        std::fflush(file_.get());
    }
}

void SimTrace::line(const char* prefix, std::span<const std::uint8_t> message) {
    if (!file_) {
        return;
    }
    std::string text(prefix);
    text.reserve(text.size() + message.size() * 2 + 1);
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const auto b : message) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), file_.get());
    std::fflush(file_.get());
}
