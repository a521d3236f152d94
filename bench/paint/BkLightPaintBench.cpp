#include "bench/paint/BkLightPaintBench.h"

#include "bench/support/BenchFigures.h"
#include "lighting/COrvoDialogBkLightSettings.h"
#include "model/ConfigDocument.h"
#include "skin/GuiContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

namespace {

constexpr int kRounds = 200;

// Each round timed on its own, so that the figures show the spread.
template <typename Paint>
BenchFigures timeRounds(Paint paint) {
    BenchFigures figures;
    QElapsedTimer timer;
    for (int i = 0; i < kRounds; ++i) {
        timer.start();
        paint();
        figures.add(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return figures;
}

} // namespace

void BenchBkLightRepaint(GuiContext& context, float scale) {
    ConfigDocument& doc = context.doc;
    const float scaleBefore = doc.scaleFactor;
    doc.scaleFactor = scale;
    for (int k = 1; k <= kKeyCount; ++k) {
        doc.keyColours[static_cast<std::size_t>(k)] = {(37 * k) % 256, (91 * k) % 256, (13 * k) % 256};
    }
    {
        COrvoDialogBkLightSettings dialog(context);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            std::printf("scale %.1f: the backlight dialog was not exposed\n", static_cast<double>(scale));
        }
        QCoreApplication::processEvents();

        const BenchFigures full = timeRounds([&dialog] { dialog.repaint(); });
        const BenchFigures canvas = timeRounds([&dialog] { dialog.renderImage(); });
        std::printf("backlight dialog, scale %.1f (%dx%d), 103 coloured frames: full repaint %s ms (canvas "
                    "alone %s ms), min / median\n",
                    static_cast<double>(scale), dialog.width(), dialog.height(), full.text(2).c_str(),
                    canvas.text(2).c_str());
    }
    doc.scaleFactor = scaleBefore;
}
