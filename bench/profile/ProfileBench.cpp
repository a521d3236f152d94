#include "bench/support/BenchFigures.h"
#include "bench/support/ChildProcess.h"
#include "model/ConfigDocument.h"
#include "model/ProfileFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The longest lists the editors allow: a macro with recorded delays keeps
// at most 799 lines, one with automatic delays 1600, combos and emulations 6.
constexpr int kRecordedMacroLines = 799;
constexpr int kAutomaticMacroLines = 1600;
constexpr int kShortListLines = 6;
constexpr int kLibraryEntries = 100;

RecordList recordedMacro(int lines) {
    static const char* const kKeys[] = {"LShift", "A", "Num Lock", "F12", "Right Arrow"};
    RecordList list;
    for (int i = 0; i < lines; ++i) {
        std::string key = kKeys[(i / 3) % 5];
        switch (i % 3) {
        case 0:
            list.items.push_back(key + " Down");
            break;
        case 1:
            list.items.push_back("<" + std::to_string(10 + i % 60000) + " ms>");
            break;
        default:
            list.items.push_back(key + " UP");
            break;
        }
        list.children.emplace_back();
    }
    list.cycles = 255;
    list.delay = 60000;
    list.playMode = 2;
    return list;
}

RecordList library(int entries, int linesEach) {
    RecordList list;
    for (int i = 0; i < entries; ++i) {
        list.items.push_back("default");
        list.children.push_back(recordedMacro(linesEach));
    }
    return list;
}

// Every slot of both layers a macro, every library full; `scale` shortens
// the lists so that the growth with size shows.
std::unique_ptr<ConfigDocument> largestDocument(double scale) {
    auto doc = std::make_unique<ConfigDocument>();
    doc->modelType = 1;
    doc->ResetToDefaults();
    auto scaled = [&](int lines) {
        return std::max(1, static_cast<int>(lines * scale));
    };
    doc->predefinedCombos = library(kLibraryEntries, kShortListLines);
    doc->predefinedMacros = library(kLibraryEntries, scaled(kAutomaticMacroLines));
    doc->predefinedEmulations = library(kLibraryEntries, kShortListLines);
    for (int slot = 2; slot < kSlotCount; ++slot) {
        doc->keyMode[static_cast<std::size_t>(slot)] = 3;
        doc->keyLists[static_cast<std::size_t>(slot)] = recordedMacro(scaled(kRecordedMacroLines));
    }
    for (Rgb& colour : doc->keyColours) {
        colour = {255, 128, 7};
    }
    return doc;
}

std::unique_ptr<ConfigDocument> factoryDocument() {
    auto doc = std::make_unique<ConfigDocument>();
    doc->modelType = 1;
    doc->ResetToDefaults();
    return doc;
}

// Wall time and the process's own processor time: on a shared machine the
// second shows the cost of the code when other work steals the cores.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    double wallMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuMs() const { return 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

// From the process's own status: ru_maxrss would carry the peak of the
// parent that spawned it.
long statusKb(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = 0;
    const std::size_t length = std::strlen(field);
    while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0) {
            kb = std::atol(line + length);
        }
    }
    if (status != nullptr) {
        std::fclose(status);
    }
    return kb;
}

// Run in a fresh process, so that the peak it reports is the load's alone.
int loadOnce(const std::string& path) {
    auto doc = factoryDocument();
    const long before = statusKb("VmRSS:");
    Stopwatch load;
    const ProfileResult result = LoadProfile(*doc, path);
    const double cpuMs = load.cpuMs();
    if (!result) {
        std::fprintf(stderr, "load failed: %s\n", result.detail.c_str());
        return 1;
    }
    std::printf("%.3f %ld\n", cpuMs, statusKb("VmHWM:") - before);
    return 0;
}

void measureSize(const char* label, double scale, const std::string& path) {
    const auto doc = largestDocument(scale);
    BenchFigures saveCpu;
    BenchFigures saveWall;
    for (int run = 0; run < kBenchRuns; ++run) {
        Stopwatch save;
        if (!SaveProfile(*doc, path)) {
            std::fprintf(stderr, "save failed: %s\n", path.c_str());
            std::exit(1);
        }
        saveCpu.add(save.cpuMs());
        saveWall.add(save.wallMs());
    }
    BenchFigures loadCpu;
    BenchFigures loadPeak;
    for (int run = 0; run < kBenchRuns; ++run) {
        const ChildRun child =
            runChild({benchFolder() + "/bench_profile", "--load", path}, {}, Capture::Output);
        std::istringstream figures(child.output);
        double cpuMs = 0;
        long peak = 0;
        if (child.exitStatus != 0 || !(figures >> cpuMs >> peak)) {
            std::fprintf(stderr, "load failed in a child process\n");
            std::exit(1);
        }
        loadCpu.add(cpuMs);
        loadPeak.add(static_cast<double>(peak) / 1024.0);
    }
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    std::printf("%s: %.1f MB\n", label, bytes / 1048576.0);
    std::printf("  %-12s save cpu %s ms (wall %s)  load cpu %s ms  peak %s MB (%.1fx file)\n", "Zarn",
                saveCpu.text().c_str(), saveWall.text().c_str(), loadCpu.text().c_str(),
                loadPeak.text().c_str(), loadPeak.median() * 1048576.0 / bytes);
    std::fflush(stdout);
    const char* python = std::getenv("ZARN_BENCH_PYTHON");
    const ChildRun peers = runChild(
        {python != nullptr ? python : "python3", ZARN_PROFILE_PEERS, path, std::to_string(kBenchRuns)}, {},
        Capture::Output);
    if (!peers.started || peers.exitStatus != 0) {
        std::printf("  the Python peers did not run (python3 missing?)\n");
    }
    std::printf("%s", peers.output.c_str());
}

// The linear rule the name index replaced, kept here as the measure of it.
int linearParse(const ConfigDocument& doc, const std::string& line) {
    if (line.find("ms>") != std::string::npos) {
        return doc.ParseRecordLine(line);
    }
    for (const auto& [vk, name] : doc.codeNames) {
        if (line == name || line == name + " UP" || line == name + " Down") {
            return doc.vkToCode[static_cast<std::size_t>(vk)];
        }
    }
    return 0;
}

volatile long sink = 0;

// Every line of every slot goes through ParseRecordLine when the keys are written.
void measureRecordLines(const std::string& path) {
    auto doc = factoryDocument();
    doc->BuildCatalogue();
    if (!LoadProfile(*doc, path)) {
        std::fprintf(stderr, "load failed: %s\n", path.c_str());
        std::exit(1);
    }
    auto timeAll = [&](auto&& parse) {
        BenchFigures cpu;
        long lines = 0;
        long sum = 0;
        for (int run = 0; run < kBenchRuns; ++run) {
            lines = 0;
            Stopwatch watch;
            for (const RecordList& list : doc->keyLists) {
                for (const std::string& line : list.items) {
                    sum += parse(line);
                    ++lines;
                }
            }
            cpu.add(watch.cpuMs());
        }
        sink = sum;
        return std::make_pair(cpu, lines);
    };
    const auto [indexed, lines] =
        timeAll([&](const std::string& line) { return doc->ParseRecordLine(line); });
    const auto [linear, ignored] = timeAll([&](const std::string& line) { return linearParse(*doc, line); });
    std::printf("ParseRecordLine over the largest profile's %ld lines: cpu %s ms (the linear rule: %s ms)\n",
                lines, indexed.text().c_str(), linear.text().c_str());
}

} // namespace

// --write FILE leaves the largest profile for a profiler's run of --load FILE.
int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--load") {
        return loadOnce(argv[2]);
    }
    if (argc == 3 && std::string(argv[1]) == "--write") {
        return SaveProfile(*largestDocument(1.0), argv[2]) ? 0 : 1;
    }
    std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    std::string path = (folder / "zarn-bench-profile.pro").string();
    std::printf("profile save and load, min / median of %d runs; loads in fresh processes\n", kBenchRuns);
    measureSize("largest at 1/8", 0.125, path);
    measureSize("largest at 1/4", 0.25, path);
    measureSize("largest at 1/2", 0.5, path);
    measureSize("largest (full)", 1.0, path);
    measureRecordLines(path);
    std::filesystem::remove(path);
    return 0;
}
