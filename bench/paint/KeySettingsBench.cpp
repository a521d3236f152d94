#include "bench/paint/KeySettingsBench.h"

#include "bench/support/BenchFigures.h"

#include "app/COrvoApp.h"
#include "keyeditor/COrvoDialogKeyMapSettings.h"
#include "keyeditor/MacroListEditing.h"
#include "model/ConfigDocument.h"
#include "skin/ScaleFactor.h"
#include "skin/ScriptedPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

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

    BenchFigures open;
    for (int i = 0; i < kOpenRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        COrvoDialogKeyMapSettings dialog(context);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            std::printf("scale %.1f: the key settings dialog was not exposed\n", static_cast<double>(scale));
        }
        flushPaint(dialog);
        open.add(msSince(timer));
    }

    COrvoDialogKeyMapSettings dialog(context);
    dialog.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&dialog));
    flushPaint(dialog);
    // The Function page has the most buttons; Power the fewest.
    const int tabs[2] = {95, 96};
    BenchFigures pageSwitch;
    QElapsedTimer timer;
    for (int i = 0; i < kSwitchRounds; ++i) {
        timer.restart();
        click(dialog, tabs[i % 2]);
        flushPaint(dialog);
        pageSwitch.add(msSince(timer));
    }
    std::printf(
        "scale %.1f (%dx%d), min / median: key settings open %s ms, page switch with its repaint %s ms\n",
        static_cast<double>(scale), dialog.width(), dialog.height(), open.text(2).c_str(),
        pageSwitch.text(3).c_str());
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
    for (int i = 0; i < kMaxAutoMacroLines; ++i) {
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
    BenchFigures toRecorded;
    BenchFigures toAutomatic;
    int recordedLines = 0;
    for (int i = 0; i < kEditRounds; ++i) {
        timer.restart();
        click(dialog, 210);
        flushPaint(dialog);
        toRecorded.add(msSince(timer));
        recordedLines = dialog.state().macroRecords.count();
        timer.restart();
        click(dialog, 203);
        flushPaint(dialog);
        toAutomatic.add(msSince(timer));
    }
    const int lines = dialog.state().macroRecords.count();

    const QPoint top = centreOf(dialog, 241);
    BenchFigures insertion;
    for (int i = 0; i < kEditRounds; ++i) {
        prompts.nextMenuChoice(1135);
        timer.restart();
        QTest::mouseClick(&dialog, Qt::RightButton, {}, top);
        flushPaint(dialog);
        insertion.add(msSince(timer));
    }
    std::printf(
        "record list of %d lines, min / median, each with its repaint: to recorded delays (%d lines) %s "
        "ms, back to the automatic delay %s ms, menu insertion at the top %s ms (%d lines after the trim)\n",
        lines, recordedLines, toRecorded.text(3).c_str(), toAutomatic.text(3).c_str(),
        insertion.text(3).c_str(), dialog.state().macroRecords.count());
    doc.predefinedMacros.Clear();
    context.clicks.keySettingsDropMs = dropMs;
}
