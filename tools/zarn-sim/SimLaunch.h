#pragma once

#include "tools/zarn-sim/SimServer.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Everything that decides how a simulated keyboard starts.
struct SimConfig {
    std::string model;
    // Replaces the model's factory version text (and one a firmware
    // download left in the state file).
    std::optional<std::string> version;
    std::string counters;
    SimServerOptions server;
};

enum class SimCommandLine { Run, Help, Error };

// Everything in `config` that a person typed wrong: an unknown model, a
// version text too long, bad counters, a socket, state or trace file whose
// folder is missing or not writable, or that names a folder.  False with the reason.
bool checkSimConfig(const SimConfig& config, std::string* error);

// zarn-sim's arguments, "--name value" or "--name=value"; an Error for
// every argument checkSimConfig refuses too.
SimCommandLine parseSimCommandLine(std::span<const std::string_view> args, SimConfig* config,
                                   std::string* error);
std::string simUsage();

// The keyboard of `config` with its state file loaded, listening.  Null with
// a reason for what checkSimConfig refuses, a refused state file or a socket
// that cannot be served.
std::unique_ptr<SimServer> startSimServer(const SimConfig& config, std::string* error);
