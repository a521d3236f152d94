#pragma once

#include "tools/zarn-sim/SimLaunch.h"

#include <memory>
#include <string>
#include <thread>

// A simulated keyboard served on a thread of the test, on a socket in a
// fresh temporary directory that goes away with it.
class RunningSim {
public:
    // `config`'s socket path is set here; the model defaults to "Zarn".
    explicit RunningSim(SimConfig config = {});
    RunningSim(const RunningSim&) = delete;
    RunningSim& operator=(const RunningSim&) = delete;
    ~RunningSim();

    bool ok() const { return server_ != nullptr; }
    const std::string& error() const { return error_; }
    const std::string& socketPath() const { return socketPath_; }
    // A path inside the temporary directory, for state and trace files.
    std::string file(const std::string& name) const { return directory_ + "/" + name; }
    // Stops serving and waits for the server to end (also after a hang-up).
    void stop();

    // A directory for files that must outlive one RunningSim (state across runs).
    static std::string makeTemporaryDirectory();

private:
    std::string directory_;
    std::string socketPath_;
    std::string error_;
    std::unique_ptr<SimServer> server_;
    std::thread thread_;
};
