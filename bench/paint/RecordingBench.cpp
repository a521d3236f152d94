#include "bench/paint/RecordingBench.h"

#include "bench/support/BenchFigures.h"

#include "app/COrvoApp.h"
#include "keyeditor/COrvoDialogKeyMapSettings.h"
#include "model/ConfigDocument.h"
#include "skin/KeyboardHook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

#include <cstdio>

#include <linux/input-event-codes.h>

namespace {

// Presses and releases: with recorded delays each adds two lines, so the
// list passes its nine rows early and scrolls from then on.
constexpr int kEvents = 300;
constexpr int kFrameMs = 16;

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Counts the paints that reach the window, so a figure is known to include one.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

} // namespace

void BenchRecordingLatency(COrvoApp& program, float scale) {
    const GuiContext& base = program.context();
    ScriptedKeyboardHook hook;
    hook.readWindowKeys(true);
    GuiContext context{base.doc,    base.resources, base.prompts,       base.worker,
                       hook,        base.clock,     base.scaleOverride, base.pauses,
                       base.clicks, base.dialogs,   base.desktop,       base.deviceOperationEnded};
    context.clicks.keySettingsDropMs = 0;
    context.desktop.windowKeysReadable = [] {
        return true;
    };
    ConfigDocument& doc = context.doc;
    doc.scaleFactor = scale;
    doc.selectedKey = 43;
    doc.currentLayer = 0;
    RecordList library;
    library.sizeOfView = 9;
    library.AppendItem("recorded");
    doc.predefinedMacros = library;

    COrvoDialogKeyMapSettings dialog(context);
    dialog.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&dialog));
    const auto click = [&](int id) {
        const SkinItem* item = dialog.element(id);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, dialog.windowRect(*item).center());
        QCoreApplication::processEvents();
    };
    click(91);
    click(207);
    if (!dialog.state().recordingMacro) {
        std::printf("scale %.1f: the recording did not start\n", static_cast<double>(scale));
        return;
    }
    PaintCounter counter;
    dialog.installEventFilter(&counter);

    BenchFigures latency;
    int late = 0;
    int unpainted = 0;
    QElapsedTimer timer;
    for (int i = 0; i < kEvents; ++i) {
        const int code = KEY_A + (i / 2) % 10;
        const QEvent::Type type = i % 2 == 0 ? QEvent::KeyPress : QEvent::KeyRelease;
        QKeyEvent key(type, Qt::Key_unknown, Qt::NoModifier, static_cast<quint32>(code + 8), 0, 0);
        const int paintsBefore = counter.paints;
        timer.restart();
        QCoreApplication::sendEvent(&dialog, &key);
        QCoreApplication::sendPostedEvents(&dialog);
        QCoreApplication::sendPostedEvents(&dialog, QEvent::UpdateRequest);
        QCoreApplication::processEvents();
        const double ms = msSince(timer);
        latency.add(ms);
        late += ms > kFrameMs ? 1 : 0;
        unpainted += counter.paints == paintsBefore ? 1 : 0;
    }
    dialog.removeEventFilter(&counter);
    const int lines = dialog.state().macroRecords.count();
    click(207);
    std::printf("scale %.1f (%dx%d): key event to its record line painted, min / median %s ms over %d keys "
                "(%d lines), %d over one frame (%d ms)%s\n",
                static_cast<double>(scale), dialog.width(), dialog.height(), latency.text(3).c_str(), kEvents,
                lines, late, kFrameMs, unpainted > 0 ? " -- some keys painted nothing" : "");
    doc.predefinedMacros.Clear();
}
