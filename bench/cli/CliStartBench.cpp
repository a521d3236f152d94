#include "bench/support/BenchFigures.h"
#include "bench/support/ChildProcess.h"

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Short runs are measured often: a single one is close to the clock's grain.
constexpr int kRuns = 4 * kBenchRuns;

// The shared objects the dynamic loader opens, linked or loaded on demand.
std::set<std::string> loadedLibraries(const std::vector<std::string>& command) {
    const ChildRun run = runChild(command, {"LD_DEBUG=files"}, Capture::Errors);
    std::set<std::string> libraries;
    std::istringstream trace(run.output);
    std::string line;
    while (std::getline(trace, line)) {
        const auto at = line.find("file=");
        if (at == std::string::npos) {
            continue;
        }
        const auto end = line.find_first_of(" \t", at);
        libraries.insert(line.substr(at + 5, end == std::string::npos ? end : end - at - 5));
    }
    return libraries;
}

void measure(const char* label, const std::vector<std::string>& command) {
    BenchFigures cpu;
    BenchFigures wall;
    for (int run = 0; run < kRuns; ++run) {
        const ChildRun child = runChild(command);
        if (child.exitStatus != 0) {
            std::printf("%s: did not run\n", label);
            return;
        }
        cpu.add(child.cpuMs);
        wall.add(child.wallMs);
    }
    const std::set<std::string> libraries = loadedLibraries(command);
    std::string names;
    for (const std::string& library : libraries) {
        names += (names.empty() ? "" : " ") + library;
    }
    std::printf("%-16s cpu %s ms  wall %s ms  %zu libraries: %s\n", label, cpu.text(2).c_str(),
                wall.text(2).c_str(), libraries.size(), names.c_str());
}

} // namespace

int main() {
    std::printf("command start-up, min / median of %d runs\n", kRuns);
    measure("zarnctl --help", {ZARNCTL_PATH, "--help"});
    measure("zarn-sim --help", {ZARN_SIM_PATH, "--help"});
    return 0;
}
