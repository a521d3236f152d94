#include "tools/zarn-sim/EmbeddedSimulator.h"

#include "tools/zarn-sim/SimLaunch.h"
#include "tools/zarn-sim/SimModels.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace {

constexpr const char* kVirtualHidVariable = "ZARN_VIRTUAL_HID";

// setenv and getenv race with each other; simulators started and ended on
// different threads at least do not race among themselves.
std::mutex environmentMutex;

std::string currentVirtualList() {
    const char* value = std::getenv(kVirtualHidVariable);
    return value ? value : "";
}

void prependVirtualEntry(const std::string& entry) {
    std::lock_guard lock(environmentMutex);
    const std::string list = currentVirtualList();
    const std::string updated = list.empty() ? entry : entry + ";" + list;
    ::setenv(kVirtualHidVariable, updated.c_str(), 1);
}

// Takes out exactly our entry, leaving whatever else the list holds in its order.
void removeVirtualEntry(const std::string& entry) {
    std::lock_guard lock(environmentMutex);
    const std::string list = currentVirtualList();
    std::string kept;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto end = std::min(list.find(';', start), list.size());
        const std::string item = list.substr(start, end - start);
        if (item != entry && !item.empty()) {
            kept += kept.empty() ? item : ";" + item;
        }
        start = end + 1;
    }
    if (kept.empty()) {
        ::unsetenv(kVirtualHidVariable);
    } else {
        ::setenv(kVirtualHidVariable, kept.c_str(), 1);
    }
}

std::string defaultStateDirectory() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
        return std::string(state) + "/zarn";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::string(home) + "/.local/state/zarn";
    }
    return {};
}

// A directory only this user can enter, so nobody else can take the socket's name.
std::string makePrivateDirectory(std::string* error) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base = runtime && *runtime == '/' ? runtime : "/tmp";
    std::string pattern = base + "/zarn-sim-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        *error = "cannot create a directory for the simulated keyboard under " + base + ": " +
                 std::strerror(errno);
        return {};
    }
    return pattern;
}

class EmbeddedSimulatorImpl final : public EmbeddedSimulator {
public:
    EmbeddedSimulatorImpl(std::string directory, std::unique_ptr<SimServer> server, std::string statePath,
                          std::string entry)
        : directory_(std::move(directory)), server_(std::move(server)), statePath_(std::move(statePath)),
          entry_(std::move(entry)) {
        prependVirtualEntry(entry_);
        thread_ = std::thread([this] { server_->run(); });
    }

    ~EmbeddedSimulatorImpl() override {
        removeVirtualEntry(entry_);
        server_->stop();
        thread_.join();
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove(directory_, ignored);
    }

    const std::string& socketPath() const override { return server_->socketPath(); }
    const std::string& statePath() const override { return statePath_; }
    const std::string& virtualHidEntry() const override { return entry_; }

private:
    std::string directory_;
    std::unique_ptr<SimServer> server_;
    std::string statePath_;
    std::string entry_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<EmbeddedSimulator> EmbeddedSimulator::start(const std::string& modelName,
                                                            std::string* error) {
    Options options;
    options.model = modelName;
    return start(options, error);
}

std::unique_ptr<EmbeddedSimulator> EmbeddedSimulator::start(const Options& options, std::string* error) {
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    const SimModel* model = findSimModel(options.model);
    if (!model) {
        reason = "unknown model \"" + options.model + "\"";
        return nullptr;
    }
    SimConfig config;
    config.model = options.model;
    config.version = options.version;
    config.counters = options.counters;
    config.server.tracePath = options.tracePath;
    config.server.notesToStderr = options.notesToStderr;
    if (!options.forgetful) {
        config.server.statePath = options.statePath;
        if (config.server.statePath.empty()) {
            const std::string directory = defaultStateDirectory();
            std::error_code code;
            if (!directory.empty()) {
                std::filesystem::create_directories(directory, code);
                config.server.statePath = directory + "/" + options.model + ".state";
            }
        }
    }
    const std::string directory = makePrivateDirectory(&reason);
    if (directory.empty()) {
        return nullptr;
    }
    config.server.socketPath = directory + "/keyboard.sock";
    auto server = startSimServer(config, &reason);
    if (!server) {
        std::error_code code;
        std::filesystem::remove(directory, code);
        return nullptr;
    }
    char entry[32];
    std::snprintf(entry, sizeof entry, "%04x:%04x:1=", kSimVendorId, model->productId);
    return std::make_unique<EmbeddedSimulatorImpl>(directory, std::move(server), config.server.statePath,
                                                   entry + config.server.socketPath);
}
