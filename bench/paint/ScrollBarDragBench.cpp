#include "bench/paint/ScrollBarDragBench.h"

#include "app/elements/KeySettingsElements.h"
#include "controls/CSkinScrollBar.h"
#include "controls/ScaledScrollBarSkin.h"
#include "skin/ScaleFactor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <cstdio>

namespace {

// The largest record list: 1600 lines in 9 rows, so every pixel the pointer
// moves is a new position.
constexpr int kLines = 1600;
constexpr int kRows = 9;
constexpr int kSteps = 400;

// Counts the bar's paints, so the figure is known to include them.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

void flushPaint(QWidget& window) {
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateLater);
    QCoreApplication::processEvents();
}

} // namespace

void BenchScrollBarDrag(const QImage& skin, float scale) {
    const ControlPlace place = kRecordScrollBarPages23;
    QWidget window;
    window.resize(Scaled(place.x + 3 * place.width, scale), Scaled(place.y + place.height + 20, scale));
    CSkinScrollBar bar(Qt::Vertical, &window);
    bar.setGeometry(Scaled(place.x, scale), Scaled(place.y, scale), Scaled(place.width, scale),
                    Scaled(place.height, scale));
    if (!bar.setSkin(ScaledScrollBarSkin(skin, Scaled(place.width, scale)))) {
        std::printf("scale %.1f: no scroll-bar skin\n", static_cast<double>(scale));
        return;
    }
    ScrollInfo info;
    info.mask = kSifRange | kSifPage | kSifPos;
    info.maximum = kLines + kRows - 1;
    info.page = kRows;
    bar.setScrollInfo(info, true);
    // The dialog's answer: the tracking position becomes the position.
    int moves = 0;
    QObject::connect(&bar, &CSkinScrollBar::scrollRequest, [&bar, &moves](int code, int track) {
        if (code == CSkinScrollBar::kThumbTrack) {
            ScrollInfo set;
            set.mask = kSifPos;
            set.position = track;
            bar.setScrollInfo(set, true);
            ++moves;
        }
    });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::printf("scale %.1f: the bar's window was not exposed\n", static_cast<double>(scale));
    }
    flushPaint(window);

    // The pointer runs from the thumb at the top down the free track and back.
    const QRect thumb = bar.partRect(CSkinScrollBar::kThumbTrack);
    const QPoint press = thumb.center();
    const int sweep = bar.height() - 2 * bar.cellSize() - thumb.height() - 1;
    PaintCounter counter;
    bar.installEventFilter(&counter);
    QTest::mousePress(&bar, Qt::LeftButton, {}, press);
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= kSteps; ++i) {
        const int phase = i % (2 * sweep);
        const int down = phase <= sweep ? phase : 2 * sweep - phase;
        QTest::mouseMove(&bar, press + QPoint(0, down));
        flushPaint(window);
    }
    const double step = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kSteps;
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, press);
    std::printf(
        "scale %.1f (bar %dx%d): scroll-bar drag step %.3f ms (%d of %d moves moved the thumb, %d paints)\n",
        static_cast<double>(scale), bar.width(), bar.height(), step, moves, kSteps, counter.paints);
}
