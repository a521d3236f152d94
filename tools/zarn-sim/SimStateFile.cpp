#include "tools/zarn-sim/SimStateFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view kHeader = "zarn-sim state 1";
// Every slot holding the longest macro is about 33 MB of text; beyond
// that a file is not ours.
constexpr std::size_t kMaxStateFileBytes = 40u << 20;

constexpr char kHexDigits[] = "0123456789abcdef";

std::string toHex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const auto b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0x0F];
    }
    return text;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool fromHex(std::string_view text, std::span<std::uint8_t> out) {
    if (text.size() != out.size() * 2) {
        return false;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int high = hexValue(text[2 * i]);
        const int low = hexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        out[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

std::size_t chunksNeeded(const Payload& first) {
    if (first[4] < 2) {
        return 1;
    }
    const std::size_t dataBytes = first[9] << 8 | first[10];
    return std::max<std::size_t>(1, (dataBytes + kMacroChunkData - 1) / kMacroChunkData);
}

bool payloadBelongsTo(const Payload& payload, int slot) {
    const int layer = slot / kSimKeysPerLayer + 1;
    const int key = slot % kSimKeysPerLayer + 1;
    return payload[1] == SimCommand::TableEntry && payload[2] == layer && payload[3] == key &&
           payload[4] <= 4;
}

class StateParser {
public:
    explicit StateParser(SimMemory* memory) : memory_(memory) {}

    bool line(std::string_view text, std::string* reason) {
        if (done_) {
            return fail("text after the end line", reason);
        }
        if (!headerSeen_) {
            headerSeen_ = text == kHeader;
            return headerSeen_ || fail("not a zarn-sim state file", reason);
        }
        const auto space = text.find(' ');
        const auto keyword = text.substr(0, space);
        const auto rest = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
        if (keyword == "version") {
            return version(rest, reason);
        }
        if (keyword == "lights") {
            return lights(rest, reason);
        }
        if (keyword == "slot") {
            return slot(rest, reason);
        }
        if (keyword == "end" && rest.empty()) {
            return end(reason);
        }
        return fail("unknown line", reason);
    }

    bool finish(std::string* reason) const {
        if (!headerSeen_) {
            return fail("not a zarn-sim state file", reason);
        }
        return done_ || fail("the file ends without its end line (cut short?)", reason);
    }

private:
    static bool fail(const char* what, std::string* reason) {
        *reason = what;
        return false;
    }

    bool version(std::string_view hex, std::string* reason) {
        std::vector<std::uint8_t> bytes(hex.size() / 2);
        if (versionSeen_ || hex.empty() || bytes.size() > kPayloadSize - 2 || !fromHex(hex, bytes)) {
            return fail("bad version line", reason);
        }
        versionSeen_ = true;
        memory_->updatedVersion.assign(bytes.begin(), bytes.end());
        return true;
    }

    bool lights(std::string_view hex, std::string* reason) {
        if (lightsSeen_ || !fromHex(hex, memory_->lights)) {
            return fail("bad lights line (309 bytes in hex, once)", reason);
        }
        lightsSeen_ = true;
        return true;
    }

    bool slot(std::string_view rest, std::string* reason) {
        const auto space = rest.find(' ');
        if (space == std::string_view::npos || space == 0 || space > 3) {
            return fail("bad slot line", reason);
        }
        int index = 0;
        for (const char c : rest.substr(0, space)) {
            if (c < '0' || c > '9') {
                return fail("bad slot number", reason);
            }
            index = index * 10 + (c - '0');
        }
        Payload payload;
        if (index >= kSimSlots || !fromHex(rest.substr(space + 1), payload)) {
            return fail("bad slot line (slot 0..205, a payload of 64 bytes in hex)", reason);
        }
        if (index < currentSlot_ || !payloadBelongsTo(payload, index)) {
            return fail("slot out of order or holding another key's entry", reason);
        }
        if (index != currentSlot_ && !closeSlot(reason)) {
            return false;
        }
        currentSlot_ = index;
        auto& chunks = memory_->slots[index];
        if (!chunks.empty() && chunks.size() >= chunksNeeded(chunks.front())) {
            return fail("a slot holds more payloads than its entry needs", reason);
        }
        chunks.push_back(payload);
        return true;
    }

    bool closeSlot(std::string* reason) const {
        if (currentSlot_ < 0) {
            return true;
        }
        const auto& chunks = memory_->slots[currentSlot_];
        return chunks.size() == chunksNeeded(chunks.front()) || fail("a macro misses chunks", reason);
    }

    bool end(std::string* reason) {
        if (!lightsSeen_) {
            return fail("no lights line", reason);
        }
        if (!closeSlot(reason)) {
            return false;
        }
        done_ = true;
        return true;
    }

    SimMemory* memory_;
    bool headerSeen_ = false;
    bool versionSeen_ = false;
    bool lightsSeen_ = false;
    bool done_ = false;
    int currentSlot_ = -1;
};

} // namespace

std::string formatSimState(const SimMemory& memory) {
    std::string text(kHeader);
    text += '\n';
    if (!memory.updatedVersion.empty()) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(memory.updatedVersion.data());
        text += "version " + toHex({bytes, memory.updatedVersion.size()}) + '\n';
    }
    text += "lights " + toHex(memory.lights) + '\n';
    for (int slot = 0; slot < kSimSlots; ++slot) {
        for (const auto& payload : memory.slots[slot]) {
            text += "slot " + std::to_string(slot) + ' ' + toHex(payload) + '\n';
        }
    }
    text += "end\n";
    return text;
}

bool parseSimState(std::string_view text, SimMemory* memory, std::string* error) {
    SimMemory parsed;
    StateParser parser(&parsed);
    std::string reason;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        const auto newline = text.find('\n', start);
        if (newline == std::string_view::npos) {
            *error = "line " + std::to_string(lineNumber) + ": the last line has no line break (cut short?)";
            return false;
        }
        if (!parser.line(text.substr(start, newline - start), &reason)) {
            *error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
        start = newline + 1;
    }
    if (!parser.finish(&reason)) {
        *error = reason;
        return false;
    }
    *memory = std::move(parsed);
    return true;
}

SimStateLoad loadSimState(const std::string& path, SimMemory* memory, std::string* error) {
    std::error_code code;
    const auto size = std::filesystem::file_size(path, code);
    if (code == std::errc::no_such_file_or_directory) {
        return SimStateLoad::Missing;
    }
    if (code) {
        *error = "cannot read state file " + path + ": " + code.message();
        return SimStateLoad::Refused;
    }
    if (size > kMaxStateFileBytes) {
        *error = "state file " + path + " refused: too large to be a keyboard's memory";
        return SimStateLoad::Refused;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in || in.gcount() != static_cast<std::streamsize>(text.size())) {
        *error = "cannot read state file " + path;
        return SimStateLoad::Refused;
    }
    std::string reason;
    if (!parseSimState(text, memory, &reason)) {
        *error = "state file " + path + " refused: " + reason;
        return SimStateLoad::Refused;
    }
    return SimStateLoad::Loaded;
}

bool saveSimState(const std::string& path, const SimMemory& memory, std::string* error) {
    const std::string text = formatSimState(memory);
    // Unique per process and per save, so two keyboards saving at once never share a temporary.
    static std::atomic<unsigned> saves = 0;
    const std::string temporary = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(++saves);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const auto n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool synced = written == text.size() && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!synced || ::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = "cannot save state to " + path + ": " + std::strerror(synced ? errno : savedErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
