#pragma once

#include <string>
#include <vector>

// What a finished child cost, as the kernel accounted it.
struct ChildRun {
    bool started = false;
    int exitStatus = -1; // -1 when it did not exit normally
    double wallMs = 0;
    double cpuMs = 0; // user + system
    long maxRssKb = 0;
    std::string output; // what was captured
};

enum class Capture {
    Nothing,
    Output, // standard output; standard error goes to /dev/null
    Errors, // standard error; standard output goes to /dev/null
};

// Runs argv[0] (searched in PATH) with extra "NAME=value" entries in its
// environment and waits for it.
ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {},
                  Capture capture = Capture::Nothing);

// Starts argv[0] without waiting, standard output and error to /dev/null; -1
// when it cannot start.
int startChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});

// The folder of the running benchmark, to find its siblings in the build tree.
std::string benchFolder();
