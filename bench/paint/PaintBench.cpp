#include "app/COrvoApp.h"
#include "app/COrvoDlg.h"
#include "app/elements/MainWindowElements.h"
#include "bench/paint/BkLightPaintBench.h"
#include "bench/paint/KeySettingsBench.h"
#include "bench/paint/RecordingBench.h"
#include "bench/paint/ScrollBarDragBench.h"
#include "model/ConfigDocument.h"
#include "skin/ScriptedPrompts.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

QPoint centreOf(const COrvoDlg& window, int key) {
    const SkinRect& r = window.element(KeyElementId(key))->rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void benchRepaint(COrvoApp& program, float scale) {
    program.context().scaleOverride = scale;
    COrvoDlg window(program.context());
    if (!window.initialise()) {
        std::printf("scale %.1f: the main window did not open\n", static_cast<double>(scale));
        return;
    }
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::printf("scale %.1f: the main window was not exposed\n", static_cast<double>(scale));
    }
    QCoreApplication::processEvents();

    constexpr int kRounds = 200;
    const QPoint keys[2] = {centreOf(window, 43), centreOf(window, 44)};
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRounds; ++i) {
        // Leaving one key for its neighbour repaints both rectangles.
        QTest::mouseMove(&window, keys[i % 2]);
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateLater);
        QCoreApplication::processEvents();
    }
    const double hover = msSince(timer) / kRounds;

    timer.restart();
    for (int i = 0; i < kRounds; ++i) {
        window.repaint();
    }
    const double full = msSince(timer) / kRounds;
    std::printf("scale %.1f (%dx%d): hover change %.2f ms, full repaint %.2f ms\n",
                static_cast<double>(scale), window.width(), window.height(), hover, full);
}

} // namespace

int main(int argc, char** argv) {
    const std::string state = (std::filesystem::temp_directory_path() / "zarn-bench-paint").string();
    std::filesystem::create_directories(state);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    const std::string runtime = state + "/runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    ::unsetenv("ZARN_VIRTUAL_HID");

    QElapsedTimer total;
    total.start();
    QApplication application(argc, argv);
    const double qtStart = msSince(total);

    QElapsedTimer timer;
    timer.start();
    std::string error;
    const auto simulator = EmbeddedSimulator::start(kDefaultSimulatedModel, &error);
    if (!simulator) {
        std::fprintf(stderr, "bench_paint: no simulated keyboard: %s\n", error.c_str());
        return 1;
    }
    const double simulatorStart = msSince(timer);

    ConfigDocument doc;
    ScriptedPrompts prompts;
    COrvoApp program(doc, prompts, 1.0f);
    timer.restart();
    program.startUp();
    if (program.resources().image(ImageRole::MainBackground).isNull()) {
        // Beside the benchmark there is no resource file; use the program's.
        program.resources().registerResourceFile({QStringLiteral(ZARN_RESOURCE_FILE)});
        program.resources().loadImages(doc.modelType);
    }
    {
        COrvoDlg window(program.context());
        const bool opened = window.initialise();
        window.show();
        const bool exposed = QTest::qWaitForWindowExposed(&window);
        window.repaint();
        const double startUp = msSince(timer);
        std::printf(
            "start-up to the main window shown: %.1f ms (QApplication %.1f ms, simulator %.1f ms before)%s\n",
            startUp, qtStart, simulatorStart, opened && exposed ? "" : " -- the window did not open");
        std::printf("images: %s\n", program.resources().image(ImageRole::MainBackground).isNull()
                                        ? "none (fallback look)"
                                        : "ZarnRES");
    }

    for (float scale : {1.0f, 1.5f, 2.0f}) {
        benchRepaint(program, scale);
    }
    for (float scale : {1.0f, 1.5f, 2.0f}) {
        BenchBkLightRepaint(program.context(), scale);
    }
    for (float scale : {1.0f, 1.5f, 2.0f}) {
        BenchScrollBarDrag(program.resources().image(ImageRole::ScrollBar), scale);
    }
    for (float scale : {1.0f, 1.5f, 2.0f}) {
        BenchKeySettingsPaint(program, scale);
    }
    BenchRecordListEdits(program, prompts);
    for (float scale : {1.0f, 1.5f, 2.0f}) {
        BenchRecordingLatency(program, scale);
    }
    return 0;
}
