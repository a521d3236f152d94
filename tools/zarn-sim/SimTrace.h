#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

// The --trace file: one line per report, "> " for host to keyboard and "< "
// for keyboard to host, then the report's bytes as lower-case hex (130
// digits for a 65-byte report; a message of another size shows its own
// bytes).  Notes such as "image complete: ..." are lines starting with "# ".
// Every line is flushed, so a trace is complete up to the last report even
// when the simulator is killed.
class SimTrace {
public:
    SimTrace() = default;

    // An empty path traces nothing.
    bool open(const std::string& path, std::string* error);

    void received(std::span<const std::uint8_t> message) { line("> ", message); }
    void sent(std::span<const std::uint8_t> message) { line("< ", message); }
    void note(const std::string& text);

private:
    void line(const char* prefix, std::span<const std::uint8_t> message);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};
