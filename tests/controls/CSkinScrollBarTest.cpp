#include "controls/CSkinScrollBar.h"
#include "tests/controls/SkinFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using skinfixture::kCell;

struct Request {
    int code;
    int track;
    bool operator==(const Request&) const = default;
};

void PrintTo(const Request& r, std::ostream* os) {
    *os << "{" << r.code << ", " << r.track << "}";
}

// A list window with one bar.  Like the key settings dialog it answers every
// request by setting the new position, clamped to the list (unless told not
// to answer), and it keeps what it was asked.
class ListWindow {
public:
    explicit ListWindow(Qt::Orientation orientation = Qt::Vertical, int length = 126) {
        window.resize(400, 300);
        bar = new CSkinScrollBar(orientation, &window, {10, 3});
        bar->move(10, 10);
        bar->resize(orientation == Qt::Vertical ? QSize(40, length) : QSize(length, 40));
        bar->setSkin(skinfixture::skin());
        QObject::connect(bar, &CSkinScrollBar::scrollRequest, [this](int code, int track) {
            requests.push_back({code, track});
            if (answer) {
                follow(code, track);
            }
        });
        window.show();
    }

    void setInfo(int minimum, int maximum, int page, int position) {
        ScrollInfo info;
        info.mask = kSifRange | kSifPage | kSifPos | kSifDisableNoScroll;
        info.minimum = minimum;
        info.maximum = maximum;
        info.page = page;
        info.position = position;
        bar->setScrollInfo(info, true);
    }
    // n lines shown in v rows.
    void setList(int lines, int rows, int position = 0) { setInfo(0, lines + rows - 1, rows, position); }

    ScrollInfo info() const {
        ScrollInfo info;
        info.mask = kSifAll;
        bar->getScrollInfo(info);
        return info;
    }

    QPoint point(int along, int across = 7) const {
        return bar->orientation() == Qt::Vertical ? QPoint(across, along) : QPoint(along, across);
    }

    void press(int along) { QTest::mousePress(bar, Qt::LeftButton, {}, point(along)); }
    void release(int along) { QTest::mouseRelease(bar, Qt::LeftButton, {}, point(along)); }
    void dragTo(int along) { QTest::mouseMove(bar, point(along)); }
    void moveWithButtonTo(QPoint at) { QTest::mouseMove(bar, at); }
    // A move with no button, as the pointer passing over the bar.
    void hover(QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(bar, &move);
    }
    void leave() {
        QEvent leaving(QEvent::Leave);
        QApplication::sendEvent(bar, &leaving);
    }

    // Waits until `count` requests came, then as long again, so a repeat
    // that should have stopped shows up as more.
    void settleAt(std::size_t count) {
        for (int i = 0; i < 200 && requests.size() < count; ++i) {
            QTest::qWait(5);
        }
        QTest::qWait(60);
    }

    QRgb pixel(QPoint at) const { return bar->grab().toImage().pixel(at) | 0xFF000000; }

    QWidget window;
    CSkinScrollBar* bar;
    std::vector<Request> requests;
    bool answer = true;

private:
    void follow(int code, int track) {
        const ScrollInfo now = info();
        int position = now.position;
        switch (code) {
        case CSkinScrollBar::kLineUp:
            position -= 1;
            break;
        case CSkinScrollBar::kLineDown:
            position += 1;
            break;
        case CSkinScrollBar::kPageUp:
            position -= now.page;
            break;
        case CSkinScrollBar::kPageDown:
            position += now.page;
            break;
        case CSkinScrollBar::kThumbTrack:
            position = track;
            break;
        default:
            return;
        }
        position = std::clamp(position, 0, now.maximum - now.page + 1);
        ScrollInfo set;
        set.mask = kSifPos;
        set.position = position;
        bar->setScrollInfo(set, true);
    }
};

struct Span {
    int start;
    int length;
    bool operator==(const Span&) const = default;
};

void PrintTo(const Span& s, std::ostream* os) {
    *os << "[" << s.start << ", +" << s.length << "]";
}

Span alongSpan(const CSkinScrollBar& bar, int part) {
    const QRect r = bar.partRect(part);
    if (r.isEmpty()) {
        return {0, 0};
    }
    return bar.orientation() == Qt::Vertical ? Span{r.top(), r.height()} : Span{r.left(), r.width()};
}

struct Probe {
    int along;
    int part;
};

struct GeometryCase {
    const char* name;
    Qt::Orientation orientation;
    int length;
    int maximum;
    int page;
    int position;
    int arrow;
    Span thumb;
    std::vector<Probe> probes;
};

void PrintTo(const GeometryCase& c, std::ostream* os) {
    *os << c.name;
}

class ScrollBarGeometry : public ::testing::TestWithParam<GeometryCase> {};

// The bar is 126 long (two arrows of 15, a track of 96) unless a case says
// otherwise; the list is the dialog's kind: maximum n + v - 1, page v.
// Probes: {coordinate along the bar, part hit}.
// clang-format off
const GeometryCase kGeometryCases[] = {
    //                                                        length max  page pos  arrow thumb
    {"ShortBarHalvesItsArrows",                 Qt::Vertical,   20,   48, 9,    0,  10, {0, 0},
     {{-1, -1}, {0, 0}, {9, 0}, {10, 1}, {19, 1}}},
    {"OddShortBarKeepsOnePixelOfTrack",         Qt::Vertical,   21,   48, 9,    0,  10, {0, 0},
     {{9, 0}, {10, 3}, {11, 1}}},
    {"TrackOfFivePixelsHasNoThumbButPages",     Qt::Vertical,   35,   48, 9,   20,  15, {0, 0},
     {{15, 2}, {16, 2}, {17, 3}, {19, 3}, {20, 1}}},
    {"ListThatFitsDrawsNoThumbYetItsTrackDrags", Qt::Vertical, 126,    8, 9,    0,  15, {0, 0},
     {{14, 0}, {15, 5}, {110, 5}, {111, 1}}},
    {"PageLargerThanTheRangeLeavesTheArrowsTheirClicks", Qt::Vertical, 126, 4, 9, 0, 15, {0, 0},
     {{14, 0}, {110, 5}, {111, 1}}},
    {"LongListGetsTheMinimumThumb",             Qt::Vertical,  126, 1008, 9,    0,  15, {15, 6},
     {{15, 5}, {20, 5}, {21, 3}}},
    {"MinimumThumbAtTheEnd",                    Qt::Vertical,  126, 1008, 9, 1000,  15, {105, 6},
     {{104, 2}, {105, 5}, {111, 1}}},
    {"ThumbIsThePageShareOfTheTrack",           Qt::Vertical,  126,   48, 9,    0,  15, {15, 17},
     {{14, 0}, {15, 5}, {31, 5}, {32, 3}, {110, 3}, {111, 1}, {500, 1}}},
    {"ThumbAtTheHighestPositionMeetsTheDownArrow", Qt::Vertical, 126, 48, 9,   40,  15, {94, 17},
     {{93, 2}, {94, 5}, {110, 5}, {111, 1}}},
    {"PositionBeyondTheRangeKeepsTheThumbInItsTrack", Qt::Vertical, 126, 48, 9, 100, 15, {94, 17},
     {{111, 1}}},
    {"HorizontalBarRunsAlongX",                 Qt::Horizontal, 126,  48, 9,   20,  15, {54, 17},
     {{0, 0}, {53, 2}, {54, 5}, {70, 5}, {71, 3}, {125, 1}}},
};
// clang-format on

TEST_P(ScrollBarGeometry, PartsAndHitTest) {
    const GeometryCase& c = GetParam();
    ListWindow list(c.orientation, c.length);
    list.setInfo(0, c.maximum, c.page, c.position);
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kLineUp), (Span{0, c.arrow}));
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kLineDown), (Span{c.length - c.arrow, c.arrow}));
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kThumbTrack), c.thumb);
    for (const Probe& probe : c.probes) {
        // The coordinate across the bar does not count, even far outside it.
        EXPECT_EQ(list.bar->hitTest(list.point(probe.along, 300)), probe.part) << "at " << probe.along;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollBarGeometry, ::testing::ValuesIn(kGeometryCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SkinScrollBar, StartsEmptyAndFollowsTheMaskOfEveryCall) {
    CSkinScrollBar bar(Qt::Vertical);
    ScrollInfo all;
    all.mask = kSifAll;
    all.position = 99;
    EXPECT_EQ(bar.getScrollInfo(all), 1);
    EXPECT_EQ(all.minimum, 0);
    EXPECT_EQ(all.maximum, 0);
    EXPECT_EQ(all.page, 0);
    EXPECT_EQ(all.position, 0);
    EXPECT_EQ(all.trackPosition, -1);
    EXPECT_EQ(bar.cellSize(), 0);

    ScrollInfo set;
    set.mask = kSifRange | kSifPage | kSifPos;
    set.minimum = 2;
    set.maximum = 30;
    set.page = 9;
    set.position = 5;
    EXPECT_EQ(bar.setScrollInfo(set, false), 1);
    set.mask = kSifPage;
    set.maximum = 77;
    set.page = 4;
    set.position = 8;
    bar.setScrollInfo(set, true);

    ScrollInfo got;
    got.mask = kSifRange | kSifPage | kSifPos;
    bar.getScrollInfo(got);
    EXPECT_EQ(got.minimum, 2);
    EXPECT_EQ(got.maximum, 30);
    EXPECT_EQ(got.page, 4);
    EXPECT_EQ(got.position, 5);

    ScrollInfo onlyPosition;
    onlyPosition.mask = kSifPos;
    onlyPosition.maximum = -7;
    bar.getScrollInfo(onlyPosition);
    EXPECT_EQ(onlyPosition.position, 5);
    EXPECT_EQ(onlyPosition.maximum, -7);
}

TEST(SkinScrollBar, SkinSetsTheThicknessAndABadOneIsRefused) {
    QWidget window;
    CSkinScrollBar vertical(Qt::Vertical, &window);
    vertical.setGeometry(20, 30, 50, 126);
    ASSERT_TRUE(vertical.setSkin(skinfixture::skin()));
    EXPECT_EQ(vertical.geometry(), QRect(20, 30, 15, 126));
    EXPECT_EQ(vertical.cellSize(), 15);

    CSkinScrollBar horizontal(Qt::Horizontal, &window);
    horizontal.setGeometry(20, 30, 126, 50);
    ASSERT_TRUE(horizontal.setSkin(skinfixture::skin(22)));
    EXPECT_EQ(horizontal.geometry(), QRect(20, 30, 126, 22));

    EXPECT_FALSE(vertical.setSkin(QImage()));
    EXPECT_FALSE(vertical.setSkin(QImage(8, 30, QImage::Format_RGB32)));
    EXPECT_FALSE(vertical.setSkin(QImage(135, 44, QImage::Format_RGB32))); // rows cut short
    EXPECT_EQ(vertical.cellSize(), 15);
    EXPECT_EQ(vertical.geometry(), QRect(20, 30, 15, 126));
}

struct ClickCase {
    const char* name;
    int along;
    std::vector<Request> requests;
};

TEST(SkinScrollBar, APressReportsItsPartAtOnceAndAThumbClickOnlyEndsADrag) {
    // Position 20 of 40: the thumb covers 54..70.
    const ClickCase cases[] = {
        {"up arrow", 5, {{0, 0}}},
        {"down arrow", 120, {{1, 0}}},
        {"track before the thumb", 30, {{2, 0}}},
        {"track after the thumb", 90, {{3, 0}}},
        {"thumb", 60, {{4, 20}}},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListWindow list;
        list.answer = false;
        list.setList(40, 9, 20);
        list.press(c.along);
        if (c.requests.front().code != CSkinScrollBar::kThumbPosition) {
            EXPECT_EQ(list.requests, c.requests) << "before the release";
        } else {
            EXPECT_TRUE(list.requests.empty()) << "a press on the thumb says nothing yet";
        }
        list.release(c.along);
        EXPECT_EQ(list.requests, c.requests);
        EXPECT_EQ(list.info().position, 20) << "the bar never moves by itself";
    }
}

struct HoldCase {
    const char* name;
    int position;
    int along;
    std::vector<Request> requests;
    int finalPosition;
};

TEST(SkinScrollBar, HoldingAPartRepeatsUntilItsEnd) {
    // 40 lines in 9 rows: positions 0..40, the thumb 17 long.
    const HoldCase cases[] = {
        {"down arrow stops at the highest position", 38, 120, {{1, 0}, {1, 0}}, 40},
        {"up arrow at the minimum sends only its press", 0, 5, {{0, 0}}, 0},
        {"up arrow stops at the minimum", 2, 5, {{0, 0}, {0, 0}}, 0},
        // Thumb at 15, 32, 50, 68, then 86..102 comes under the pointer.
        {"track after the thumb stops when the thumb reaches the pointer",
         0,
         100,
         {{3, 0}, {3, 0}, {3, 0}, {3, 0}},
         36},
        // Thumb at 94, 76, 58, 40, then 22..38 comes under the pointer.
        {"track before the thumb stops when the thumb reaches the pointer",
         40,
         30,
         {{2, 0}, {2, 0}, {2, 0}, {2, 0}},
         4},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListWindow list;
        list.setList(40, 9, c.position);
        list.press(c.along);
        list.settleAt(c.requests.size());
        EXPECT_EQ(list.requests, c.requests);
        EXPECT_EQ(list.info().position, c.finalPosition);
        list.release(c.along);
    }
}

TEST(SkinScrollBar, RepeatWaitsWhileThePointerIsOffThePressedArrow) {
    ListWindow list;
    list.setList(40, 9, 0);
    list.press(120);
    list.moveWithButtonTo(QPoint(40, 120));
    QTest::qWait(60);
    EXPECT_EQ(list.requests.size(), 1u);
    EXPECT_EQ(list.pixel(QPoint(7, 118)), skinfixture::plain(1, 0))
        << "drawn normal while the pointer is off";

    list.moveWithButtonTo(QPoint(7, 120));
    EXPECT_EQ(list.pixel(QPoint(7, 118)), skinfixture::plain(1, 2)) << "pressed again once back";
    list.settleAt(3);
    EXPECT_GE(list.requests.size(), 3u);
    list.release(120);
    const std::size_t afterRelease = list.requests.size();
    QTest::qWait(30);
    EXPECT_EQ(list.requests.size(), afterRelease);
    EXPECT_EQ(list.pixel(QPoint(7, 118)), skinfixture::plain(1, 0));
}

TEST(SkinScrollBar, HidingTheBarUnderAHeldArrowStopsTheRepeat) {
    ListWindow list;
    list.setList(40, 9, 0);
    list.press(120);
    list.bar->hide();
    QTest::qWait(60);
    EXPECT_EQ(list.requests, (std::vector<Request>{{1, 0}}));
    list.release(120);
}

TEST(SkinScrollBar, DragTracksThePointerWithinTheRangeAndReportsOnlyChanges) {
    ListWindow list;
    list.setList(40, 9, 0); // thumb 15..31, 79 pixels of room for 40 positions
    list.press(20);
    EXPECT_EQ(list.info().trackPosition, 0);

    list.dragTo(30); // 10 * 40 / 79
    list.dragTo(31); // 11 * 40 / 79: the same position
    list.dragTo(600);
    list.dragTo(700);
    EXPECT_EQ(list.info().trackPosition, 40);
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kThumbTrack), (Span{94, 17}));
    list.dragTo(-100);
    list.dragTo(-200);
    list.release(-200);

    const std::vector<Request> expected{{5, 5}, {5, 40}, {5, 0}, {4, 0}};
    EXPECT_EQ(list.requests, expected);
    EXPECT_EQ(list.info().trackPosition, -1);
    EXPECT_EQ(list.info().position, 0);
}

TEST(SkinScrollBar, ThumbReturnsToThePositionWhenTheParentIgnoresTheDrag) {
    ListWindow list;
    list.answer = false;
    list.setList(40, 9, 0);
    list.press(20);
    list.dragTo(60);
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kThumbTrack), (Span{54, 17}))
        << "drawn at the track position";
    list.release(60);
    EXPECT_EQ(list.requests, (std::vector<Request>{{5, 20}, {4, 20}}));
    EXPECT_EQ(alongSpan(*list.bar, CSkinScrollBar::kThumbTrack), (Span{15, 17}));
}

TEST(SkinScrollBar, TheSecondPressOfADoubleClickDoesNothing) {
    ListWindow list;
    list.setList(40, 9, 10);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list.window));
    QWindow* window = list.window.windowHandle();
    const QPoint downArrow = list.bar->mapTo(&list.window, QPoint(7, 120));
    QTest::mouseDClick(window, Qt::LeftButton, {}, downArrow);
    EXPECT_EQ(list.requests, (std::vector<Request>{{1, 0}}));
    EXPECT_EQ(list.info().position, 11);
}

TEST(SkinScrollBar, WheelAsksForLinesTowardTheTurn) {
    ListWindow list;
    list.setList(40, 9, 10);
    const QPoint at = list.point(60);
    QWheelEvent down(at, list.bar->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(list.bar, &down);
    const auto lines = static_cast<std::size_t>(QApplication::wheelScrollLines());
    EXPECT_EQ(list.requests, std::vector<Request>(lines, {1, 0}));
    list.requests.clear();
    QWheelEvent up(at, list.bar->mapToGlobal(at), {}, {0, 60}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list.bar, &up);
    EXPECT_TRUE(list.requests.empty()) << "half a notch waits for the other half";
    QApplication::sendEvent(list.bar, &up);
    EXPECT_EQ(list.requests, std::vector<Request>(lines, {0, 0}));
}

struct AdjustCase {
    const char* name;
    int minimum;
    int maximum;
    int page;
    int position;
    int delta;
    int newMaximum;
    int newPosition;
};

TEST(AdjustScrollRange, GrowsAndShrinksTheRangeKeepingThePositionInside) {
    const AdjustCase cases[] = {
        {"a line added", 0, 48, 9, 40, 1, 49, 40},
        {"a line removed at the end pulls the position back", 0, 48, 9, 40, -1, 47, 39},
        {"-20000 leaves one empty page", 0, 48, 9, 40, -20000, 8, 0},
        {"a maximum just below zero also becomes page - 1", 0, 2, 9, 0, -3, 8, 0},
        {"a maximum of zero stays", 0, 2, 9, 0, -2, 0, 0},
        {"the minimum bounds the position from below", 5, 20, 4, 17, -3, 17, 9},
        {"a page that outgrows the range puts the position at the minimum", 3, 10, 12, 6, -2, 8, 3},
    };
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListWindow list;
        list.setInfo(c.minimum, c.maximum, c.page, c.position);
        adjustScrollRange(*list.bar, c.delta);
        const ScrollInfo info = list.info();
        EXPECT_EQ(info.minimum, c.minimum);
        EXPECT_EQ(info.maximum, c.newMaximum);
        EXPECT_EQ(info.page, c.page);
        EXPECT_EQ(info.position, c.newPosition);
    }
}

TEST(SkinScrollBarPaint, ThumbKeepsItsEndsAndTilesItsMiddleAndTracksTileFromTheirStart) {
    ListWindow list;
    list.setList(40, 9, 0); // thumb 15..31, track after it 32..110
    const QImage image = list.bar->grab().toImage();
    ASSERT_EQ(image.size(), QSize(15, 126));
    for (int j = 0; j < 17; ++j) {
        int k = 3 + (j - 3) % 9;
        if (j < 3) {
            k = j;
        } else if (j >= 14) {
            k = j - 2;
        }
        EXPECT_EQ(image.pixel(7, 15 + j) | 0xFF000000, skinfixture::thumb(0, k)) << "thumb pixel " << j;
    }
    for (int y = 32; y < 111; ++y) {
        EXPECT_EQ(image.pixel(7, y) | 0xFF000000, skinfixture::track((y - 32) % kCell)) << "track at " << y;
    }
    EXPECT_EQ(image.pixel(7, 7) | 0xFF000000, skinfixture::plain(0, 0));
    EXPECT_EQ(image.pixel(7, 118) | 0xFF000000, skinfixture::plain(1, 0));
}

TEST(SkinScrollBarPaint, HorizontalBarUsesItsOwnColumns) {
    ListWindow list(Qt::Horizontal);
    list.setList(40, 9, 0);
    const QImage image = list.bar->grab().toImage();
    ASSERT_EQ(image.size(), QSize(126, 15));
    EXPECT_EQ(image.pixel(7, 7) | 0xFF000000, skinfixture::plain(4, 0));
    EXPECT_EQ(image.pixel(118, 7) | 0xFF000000, skinfixture::plain(5, 0));
    EXPECT_EQ(image.pixel(15, 7) | 0xFF000000, skinfixture::thumb(0, 0));
    EXPECT_EQ(image.pixel(31, 7) | 0xFF000000, skinfixture::thumb(0, 14));
    EXPECT_EQ(image.pixel(40, 7) | 0xFF000000, skinfixture::track(8));
}

TEST(SkinScrollBarPaint, ShortBarStretchesBothArrowsIntoItsHalves) {
    ListWindow list(Qt::Vertical, 20);
    list.setList(40, 9, 0);
    EXPECT_EQ(list.pixel(QPoint(7, 4)), skinfixture::plain(0, 0));
    EXPECT_EQ(list.pixel(QPoint(7, 15)), skinfixture::plain(1, 0));
}

TEST(SkinScrollBarPaint, HoverLightsArrowsAndThumbButNotTheTrack) {
    ListWindow list;
    list.setList(40, 9, 0);
    const QPoint upArrow(7, 7);
    const QPoint thumbMiddle(7, 22); // k = 3 + 4
    const QPoint trackPixel(7, 60);
    const QRgb trackAtRest = list.pixel(trackPixel);

    list.hover(upArrow);
    EXPECT_EQ(list.pixel(upArrow), skinfixture::plain(0, 1));
    list.hover(trackPixel);
    EXPECT_EQ(list.pixel(upArrow), skinfixture::plain(0, 0));
    EXPECT_EQ(list.pixel(trackPixel), trackAtRest);
    list.hover(thumbMiddle);
    EXPECT_EQ(list.pixel(thumbMiddle), skinfixture::thumb(1, 7));
    list.leave();
    EXPECT_EQ(list.pixel(thumbMiddle), skinfixture::thumb(0, 7));

    list.hover(thumbMiddle);
    list.press(22);
    list.dragTo(40); // position 9: the thumb at 32..48, y 40 is its pixel 8 (k 8)
    EXPECT_EQ(list.pixel(QPoint(7, 40)), skinfixture::thumb(2, 8)) << "dragged thumb is drawn pressed";
    list.release(40);
    EXPECT_EQ(list.pixel(QPoint(7, 40)), skinfixture::thumb(1, 8)) << "released under the pointer: hover";
}

} // namespace
