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
    std::string output; // standard output, when asked for
};

// Runs argv[0] (searched in PATH) with extra "NAME=value" entries in its
// environment and waits for it; standard error goes to /dev/null.
ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {},
                  bool captureOutput = false);

// The folder of the running benchmark, to find its siblings in the build tree.
std::string benchFolder();
