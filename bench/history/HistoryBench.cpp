#include "bench/support/BenchFigures.h"
#include "model/ConfigDocument.h"
#include "model/EditHistory.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

// The longest lists the editors allow: 799 lines for a macro with recorded
// delays on every slot, libraries of 100 macros of 1600 lines.
constexpr int kRecordedMacroLines = 799;
constexpr int kLibraryMacroLines = 1600;
constexpr int kLibraryEntries = 100;
constexpr int kSteps = 100;

RecordList macro(int lines, int variant) {
    RecordList list;
    list.sizeOfView = 9;
    for (int i = 0; i < lines; ++i) {
        list.items.push_back(i % 2 == 0 ? "A Down"
                                        : "<" + std::to_string(10 + (i + variant) % 5000) + " ms>");
        list.children.emplace_back();
    }
    return list;
}

std::unique_ptr<ConfigDocument> largestDocument() {
    auto doc = std::make_unique<ConfigDocument>();
    doc->modelType = 1;
    doc->ResetToDefaults();
    for (int i = 0; i < kLibraryEntries; ++i) {
        doc->predefinedMacros.items.push_back("default");
        doc->predefinedMacros.children.push_back(macro(kLibraryMacroLines, i));
    }
    for (int slot = 2; slot < kSlotCount; ++slot) {
        doc->keyMode[static_cast<std::size_t>(slot)] = 3;
        doc->keyLists[static_cast<std::size_t>(slot)] = macro(kRecordedMacroLines, slot);
    }
    return doc;
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

BenchFigures timed(const std::function<void()>& run) {
    BenchFigures figures;
    for (int i = 0; i < kBenchRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        figures.add(msSince(start));
    }
    return figures;
}

double megabytes(std::size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    auto doc = largestDocument();
    EditHistory history;
    history.reset(*doc);
    const std::size_t oneDocument = history.bytesHeld();
    std::printf("largest document: %.1f MB held by one snapshot; min / median of %d runs\n",
                megabytes(oneDocument), kBenchRuns);

    const BenchFigures unchanged = timed([&] { history.record(*doc); });
    std::printf("step after a command that changed nothing: %s ms\n", unchanged.text(2).c_str());

    int edit = 0;
    const BenchFigures keyEdit = timed([&] {
        doc->keyLists[86].items[1] = "<" + std::to_string(++edit) + " ms>";
        history.record(*doc);
    });
    std::printf("step after a key edit: %s ms\n", keyEdit.text(2).c_str());
    const BenchFigures undo = timed([&] { history.undo(*doc); });
    const BenchFigures redo = timed([&] { history.redo(*doc); });
    std::printf("undo of a key edit: %s ms, redo: %s ms\n", undo.text(2).c_str(), redo.text(2).c_str());

    for (; edit < kSteps; ++edit) {
        doc->keyLists[86].items[1] = "<" + std::to_string(edit + 1) + " ms>";
        history.record(*doc);
    }
    std::printf("%zu key edits: %.1f MB held (one document and its edits)\n", history.undoSteps(),
                megabytes(history.bytesHeld()));

    // A second profile that differs in every list, opened in turn with the first.
    std::array<std::array<RecordList, kSlotCount>, 2> profiles{doc->keyLists, doc->keyLists};
    for (RecordList& list : profiles[1]) {
        if (list.items.size() > 1) {
            list.items[1] = "<1 ms>";
        }
    }
    BenchFigures open;
    for (int step = 0; step < kSteps; ++step) {
        doc->keyLists = profiles[static_cast<std::size_t>(step % 2)];
        const auto start = std::chrono::steady_clock::now();
        history.record(*doc);
        open.add(msSince(start));
    }
    std::printf("step after opening a profile that differs in every list: %s ms\n", open.text(2).c_str());
    std::printf("%zu steps, two such profiles in turn: %.1f MB held\n", history.undoSteps(),
                megabytes(history.bytesHeld()));
    std::printf("peak resident set of this benchmark: %.1f MB\n", static_cast<double>(peakRssKb()) / 1024.0);
    return 0;
}
