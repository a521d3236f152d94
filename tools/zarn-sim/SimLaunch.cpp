#include "tools/zarn-sim/SimLaunch.h"

#include "tools/zarn-sim/CounterPresets.h"
#include "tools/zarn-sim/SimFactory.h"
#include "tools/zarn-sim/SimModels.h"
#include "tools/zarn-sim/SimStateFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

#include <unistd.h>

namespace {

bool parseCount(std::string_view text, std::uint64_t* value) {
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return !text.empty() && ec == std::errc{} && ptr == end;
}

std::string modelList() {
    std::string names;
    for (const auto& model : simModels()) {
        names += names.empty() ? "" : ", ";
        names += model.name;
    }
    return names;
}

bool applyOption(std::string_view name, std::string_view value, SimConfig* config, std::string* error) {
    std::uint64_t number = 0;
    if (name == "--model") {
        config->model = value;
    } else if (name == "--socket") {
        config->server.socketPath = value;
    } else if (name == "--state") {
        config->server.statePath = value;
    } else if (name == "--trace") {
        config->server.tracePath = value;
    } else if (name == "--version") {
        config->version = std::string(value);
    } else if (name == "--counters") {
        config->counters = value;
    } else if (name == "--latency-us" && parseCount(value, &number) && number <= 10'000'000) {
        config->server.latency = std::chrono::microseconds(number);
    } else if (name == "--stop-after" && parseCount(value, &number)) {
        config->server.stopAfter = number;
    } else if (name == "--hangup-after" && parseCount(value, &number)) {
        config->server.hangupAfter = number;
    } else {
        *error = "bad value \"" + std::string(value) + "\" for " + std::string(name);
        return false;
    }
    return true;
}

// A file the keyboard makes (its socket, state or trace) must be possible
// from the start: a typo in its folder is an argument error, found before
// the keyboard takes its first write rather than at it.
bool checkFileArgument(const char* option, const std::string& path, std::string* error) {
    namespace fs = std::filesystem;
    if (path.empty()) {
        return true;
    }
    std::error_code code;
    if (fs::is_directory(path, code)) {
        *error = std::string(option) + " " + path + " is a folder, not a file";
        return false;
    }
    const fs::path folder = fs::path(path).has_parent_path() ? fs::path(path).parent_path() : fs::path(".");
    if (!fs::is_directory(folder, code)) {
        *error = "the folder of " + std::string(option) + " " + path + " does not exist";
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        *error =
            "the folder of " + std::string(option) + " " + path + " is not writable: " + std::strerror(errno);
        return false;
    }
    return true;
}

constexpr std::string_view kValueOptions[] = {"--model",      "--socket",     "--state",
                                              "--trace",      "--version",    "--counters",
                                              "--latency-us", "--stop-after", "--hangup-after"};

} // namespace

std::string simUsage() {
    return "usage: zarn-sim --model NAME --socket PATH [--state FILE] [--trace FILE] [--latency-us N]\n"
           "                [--version TEXT] [--counters PRESET|KEY=COUNT,...] [--stop-after N]\n"
           "                [--hangup-after N]\n"
           "\n"
           "A simulated keyboard on a SOCK_SEQPACKET Unix socket, one 65-byte message per report.\n"
           "A completed firmware download resets its key table and lights to the factory layout.\n"
           "  --model NAME        " +
           modelList() +
           "\n"
           "  --socket PATH       the socket to serve; list it in ZARN_VIRTUAL_HID as 0483:PPPP:1=PATH\n"
           "  --state FILE        the keyboard's memory, loaded at start and saved after every write\n"
           "  --trace FILE        one line per report: '> ' host to keyboard, '< ' keyboard to host\n"
           "  --latency-us N      one report each way per N microseconds, the host's writes waiting\n"
           "                      (1000 models a full-speed USB endpoint)\n"
           "  --version TEXT      the version text the keyboard reports (at most 62 bytes)\n"
           "  --counters LIST     press counters: demo (default), zero, KEY=COUNT; comma-separated,\n"
           "                      applied in order, e.g. zero,70=12\n"
           "  --stop-after N      stay connected but answer nothing after N reports\n"
           "  --hangup-after N    unplug (close every connection, remove the socket) after N reports\n"
           "\n"
           "Exit status: 0 stopped (SIGINT, SIGTERM or --hangup-after), 1 the keyboard could not\n"
           "start (a damaged state file, a socket that cannot be served), 2 bad arguments.\n";
}

SimCommandLine parseSimCommandLine(std::span<const std::string_view> args, SimConfig* config,
                                   std::string* error) {
    SimConfig parsed;
    parsed.counters = kDefaultCounterPreset;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            return SimCommandLine::Help;
        }
        std::string_view value;
        const auto equals = name.find('=');
        if (equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (std::find(std::begin(kValueOptions), std::end(kValueOptions), name) !=
                   std::end(kValueOptions)) {
            if (i + 1 == args.size()) {
                *error = std::string(name) + " needs a value";
                return SimCommandLine::Error;
            }
            value = args[++i];
        } else {
            *error = "unknown argument \"" + std::string(name) + "\"";
            return SimCommandLine::Error;
        }
        if (std::find(std::begin(kValueOptions), std::end(kValueOptions), name) == std::end(kValueOptions)) {
            *error = "unknown argument \"" + std::string(name) + "\"";
            return SimCommandLine::Error;
        }
        if (!applyOption(name, value, &parsed, error)) {
            return SimCommandLine::Error;
        }
    }
    if (parsed.model.empty() || parsed.server.socketPath.empty()) {
        *error = "--model and --socket are required";
        return SimCommandLine::Error;
    }
    if (!checkSimConfig(parsed, error)) {
        return SimCommandLine::Error;
    }
    *config = std::move(parsed);
    return SimCommandLine::Run;
}

bool checkSimConfig(const SimConfig& config, std::string* error) {
    const SimModel* model = findSimModel(config.model);
    if (!model) {
        *error = "unknown model \"" + config.model + "\" (one of " + modelList() + ")";
        return false;
    }
    if (config.version && config.version->size() > kPayloadSize - 2) {
        *error = "the version text is longer than the 62 bytes a keyboard reports";
        return false;
    }
    CounterArea counters{};
    if (!parseCounterPreset(config.counters.empty() ? kDefaultCounterPreset : config.counters, &counters,
                            error)) {
        return false;
    }
    return checkFileArgument("--socket", config.server.socketPath, error) &&
           checkFileArgument("--state", config.server.statePath, error) &&
           checkFileArgument("--trace", config.server.tracePath, error);
}

std::unique_ptr<SimServer> startSimServer(const SimConfig& config, std::string* error) {
    if (!checkSimConfig(config, error)) {
        return nullptr;
    }
    const SimModel* model = findSimModel(config.model);
    const std::string version = config.version.value_or(std::string(model->factoryVersion));
    CounterArea counters{};
    parseCounterPreset(config.counters.empty() ? kDefaultCounterPreset : config.counters, &counters, error);
    SimKeyboard keyboard(version, counters);
    keyboard.setFactoryMemory(factoryMemory(*model));
    // A keyboard without a memory of its own yet is one fresh from the factory.
    SimMemory memory = factoryMemory(*model);
    if (!config.server.statePath.empty() &&
        loadSimState(config.server.statePath, &memory, error) == SimStateLoad::Refused) {
        return nullptr;
    }
    keyboard.restore(std::move(memory), config.version.has_value());
    return SimServer::listen(std::move(keyboard), config.server, error);
}
