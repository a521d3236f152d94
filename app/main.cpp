#include "app/COrvoApp.h"
#include "app/StartOptions.h"
#include "model/ConfigDocument.h"
#include "skin/QtUserPrompts.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#ifndef ZARN_VERSION
#define ZARN_VERSION "1.0.5"
#endif

int main(int argc, char** argv) {
    const StartOptions options =
        ParseStartOptions(std::vector<std::string>(argv + 1, argv + argc), std::getenv("ZARN_SCALE"));
    if (!options.error.empty()) {
        std::fprintf(stderr, "Zarn: %s\n%s", options.error.c_str(), UsageText());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("Zarn " ZARN_VERSION);
        return 0;
    }

    if (const std::string missing = MissingDisplayText(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                                       std::getenv("WAYLAND_DISPLAY"));
        !missing.empty()) {
        std::fputs(missing.c_str(), stderr);
        return 1;
    }

    if (const std::string platform =
            PreferredQtPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"));
        !platform.empty()) {
        qputenv("QT_QPA_PLATFORM", platform.c_str());
    }
    // The windows scale themselves by ScaleFactor; Qt must not do it again.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarn"));
    QApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<EmbeddedSimulator> simulator;
    if (options.simulate) {
        std::string error;
        const std::string model =
            options.simulatedModel.empty() ? kDefaultSimulatedModel : options.simulatedModel;
        simulator = EmbeddedSimulator::start(model, &error);
        if (!simulator) {
            std::fprintf(stderr, "Zarn: cannot start the simulated keyboard: %s\n", error.c_str());
            return 2;
        }
    }

    ConfigDocument document;
    QtUserPrompts prompts;
    COrvoApp program(document, prompts, options.scale);
    return program.run();
}
