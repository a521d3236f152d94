#include "model/ConfigDocument.h"
#include "model/ProfileFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The longest lists the editors allow: a macro with recorded delays keeps
// at most 799 lines, one with automatic delays 1600, combos and emulations 6.
constexpr int kRecordedMacroLines = 799;
constexpr int kAutomaticMacroLines = 1600;
constexpr int kShortListLines = 6;
constexpr int kLibraryEntries = 100;
constexpr int kRounds = 3;

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

struct Figures {
    double saveMs = 1e30;
    double saveCpuMs = 1e30;
    double loadMs = 1e30;
    double loadCpuMs = 1e30;
    std::uintmax_t bytes = 0;
};

Figures measure(const ConfigDocument& doc, const std::string& path) {
    Figures figures;
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch save;
        if (!SaveProfile(doc, path)) {
            std::fprintf(stderr, "save failed: %s\n", path.c_str());
            std::exit(1);
        }
        figures.saveMs = std::min(figures.saveMs, save.wallMs());
        figures.saveCpuMs = std::min(figures.saveCpuMs, save.cpuMs());
        auto loaded = factoryDocument();
        Stopwatch load;
        ProfileResult result = LoadProfile(*loaded, path);
        figures.loadMs = std::min(figures.loadMs, load.wallMs());
        figures.loadCpuMs = std::min(figures.loadCpuMs, load.cpuMs());
        if (!result) {
            std::fprintf(stderr, "load failed: %s\n", result.detail.c_str());
            std::exit(1);
        }
    }
    figures.bytes = std::filesystem::file_size(path);
    return figures;
}

void print(const char* label, const Figures& f) {
    std::printf("%-16s %10ju bytes  save %7.1f ms (cpu %7.1f)  load %7.1f ms (cpu %7.1f)\n", label, f.bytes,
                f.saveMs, f.saveCpuMs, f.loadMs, f.loadCpuMs);
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    std::string path = (folder / "zarn-bench-profile.pro").string();

    print("factory profile", measure(*factoryDocument(), path));
    Figures quarter = measure(*largestDocument(0.25), path);
    print("largest at 1/4", quarter);
    Figures half = measure(*largestDocument(0.5), path);
    print("largest at 1/2", half);
    Figures full = measure(*largestDocument(1.0), path);
    print("largest (full)", full);
    std::printf("full / half: size %.2f  save %.2f (cpu %.2f)  load %.2f (cpu %.2f)\n",
                static_cast<double>(full.bytes) / static_cast<double>(half.bytes), full.saveMs / half.saveMs,
                full.saveCpuMs / half.saveCpuMs, full.loadMs / half.loadMs, full.loadCpuMs / half.loadCpuMs);
    std::filesystem::remove(path);
    return 0;
}
