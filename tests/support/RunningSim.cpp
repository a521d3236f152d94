#include "tests/support/RunningSim.h"

#include <cstdlib>
#include <filesystem>

std::string RunningSim::makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zarn-sim-test-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

RunningSim::RunningSim(SimConfig config) : directory_(makeTemporaryDirectory()) {
    if (config.model.empty()) {
        config.model = "Zarn";
    }
    socketPath_ = directory_ + "/keyboard.sock";
    config.server.socketPath = socketPath_;
    config.server.notesToStderr = false;
    server_ = startSimServer(config, &error_);
    if (server_) {
        thread_ = std::thread([this] { server_->run(); });
    }
}

void RunningSim::stop() {
    if (server_) {
        server_->stop();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

RunningSim::~RunningSim() {
    stop();
    server_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}
