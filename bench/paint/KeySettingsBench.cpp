#include "bench/paint/KeySettingsBench.h"

#include "app/COrvoApp.h"
#include "keyeditor/COrvoDialogKeyMapSettings.h"
#include "keyeditor/MacroListEditing.h"
#include "model/ConfigDocument.h"
#include "skin/ScaleFactor.h"
#include "skin/ScriptedPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kOpenRounds = 20;
constexpr int kSwitchRounds = 200;
constexpr int kEditRounds = 100;

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void flushPaint(QWidget& window) {
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateLater);
    QCoreApplication::processEvents();
}

QPoint centreOf(const SkinnedDialog& dialog, int id) {
    const SkinItem* item = dialog.element(id);
    return item != nullptr ? dialog.windowRect(*item).center() : QPoint();
}

// Clicks run at once: the benchmark measures the work, not the double-click wait.
void click(SkinnedDialog& dialog, int id) {
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, centreOf(dialog, id));
}

} // namespace

void BenchKeySettingsPaint(COrvoApp& program, float scale) {
    GuiContext& context = program.context();
    ConfigDocument& doc = context.doc;
    doc.scaleFactor = scale;
    doc.selectedKey = 43;
    doc.currentLayer = 0;
    const int dropMs = context.clicks.keySettingsDropMs;
    context.clicks.keySettingsDropMs = 0;

    double fastest = 1e9;
    double total = 0;
    for (int i = 0; i < kOpenRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        COrvoDialogKeyMapSettings dialog(context);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            std::printf("scale %.1f: the key settings dialog was not exposed\n", static_cast<double>(scale));
        }
        flushPaint(dialog);
        const double open = msSince(timer);
        fastest = std::min(fastest, open);
        total += open;
    }

    COrvoDialogKeyMapSettings dialog(context);
    dialog.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&dialog));
    flushPaint(dialog);
    // The Function page has the most buttons; Power the fewest.
    const int tabs[2] = {95, 96};
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSwitchRounds; ++i) {
        click(dialog, tabs[i % 2]);
        flushPaint(dialog);
    }
    const double pageSwitch = msSince(timer) / kSwitchRounds;
    std::printf("scale %.1f (%dx%d): key settings open %.2f ms (fastest %.2f), page switch %.3f ms\n",
                static_cast<double>(scale), dialog.width(), dialog.height(), total / kOpenRounds, fastest,
                pageSwitch);
    context.clicks.keySettingsDropMs = dropMs;
}

void BenchRecordListEdits(COrvoApp& program, ScriptedPrompts& prompts) {
    GuiContext& context = program.context();
    ConfigDocument& doc = context.doc;
    doc.scaleFactor = 1.0f;
    doc.selectedKey = 43;
    doc.currentLayer = 0;
    const int dropMs = context.clicks.keySettingsDropMs;
    context.clicks.keySettingsDropMs = 0;

    RecordList longest;
    longest.sizeOfView = 9;
    longest.isAutoInterval = true;
    for (int i = 0; i < kMacroLinesAutomaticDelay; ++i) {
        longest.AppendItem(i % 2 == 0 ? "A Down" : "A UP");
    }
    longest.viewStartAt = 0;
    longest.cursorPos = 0;
    RecordList library;
    library.sizeOfView = 9;
    library.AppendItem("longest");
    library.children.back() = longest;
    doc.predefinedMacros = library;

    COrvoDialogKeyMapSettings dialog(context);
    dialog.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&dialog));
    click(dialog, 91);
    flushPaint(dialog);

    // Each edit with the repaint it causes.
    QElapsedTimer timer;
    double toRecorded = 0;
    double toAutomatic = 0;
    int recordedLines = 0;
    for (int i = 0; i < kEditRounds; ++i) {
        timer.restart();
        click(dialog, 210);
        flushPaint(dialog);
        toRecorded += msSince(timer);
        recordedLines = dialog.state().macroRecords.count();
        timer.restart();
        click(dialog, 203);
        flushPaint(dialog);
        toAutomatic += msSince(timer);
    }
    const int lines = dialog.state().macroRecords.count();

    const QPoint top = centreOf(dialog, 241);
    timer.restart();
    for (int i = 0; i < kEditRounds; ++i) {
        prompts.nextMenuChoice(1135);
        QTest::mouseClick(&dialog, Qt::RightButton, {}, top);
        flushPaint(dialog);
    }
    const double insertion = msSince(timer) / kEditRounds;
    std::printf(
        "record list of %d lines: to recorded delays (%d lines) %.3f ms, back to the automatic delay "
        "%.3f ms, menu insertion at the top %.3f ms (%d lines after the trim), each with its repaint\n",
        lines, recordedLines, toRecorded / kEditRounds, toAutomatic / kEditRounds, insertion,
        dialog.state().macroRecords.count());
    doc.predefinedMacros.Clear();
    context.clicks.keySettingsDropMs = dropMs;
}
