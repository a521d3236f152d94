#include "tools/zarn-sim/SimLaunch.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

std::atomic<SimServer*> running{nullptr};

void stopOnSignal(int) {
    if (SimServer* server = running.load()) {
        server->stop();
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    SimConfig config;
    std::string error;
    switch (parseSimCommandLine(args, &config, &error)) {
    case SimCommandLine::Help:
        std::cout << simUsage();
        return 0;
    case SimCommandLine::Error:
        std::cerr << "zarn-sim: " << error << "\nTry 'zarn-sim --help'.\n";
        return 2;
    case SimCommandLine::Run:
        break;
    }
    auto server = startSimServer(config, &error);
    if (!server) {
        std::cerr << "zarn-sim: " << error << '\n';
        return 1;
    }
    running = server.get();
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::cerr << "zarn-sim: " << config.model << " on " << server->socketPath() << '\n';
    server->run();
    running = nullptr;
    return 0;
}
