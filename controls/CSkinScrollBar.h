#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QScrollBar>
#include <QTimer>

#include <array>

// Which fields of a ScrollInfo a set or get call touches.
inline constexpr unsigned kSifRange = 0x1;
inline constexpr unsigned kSifPage = 0x2;
inline constexpr unsigned kSifPos = 0x4;
// Accepted and ignored: the bar shows a list that fits by drawing no thumb.
inline constexpr unsigned kSifDisableNoScroll = 0x8;
inline constexpr unsigned kSifTrackPos = 0x10;
inline constexpr unsigned kSifAll = kSifRange | kSifPage | kSifPos | kSifTrackPos;

// The bar's scroll information.  The maximum is the last line of the list
// including the last page (a list of n lines in v rows: maximum n + v - 1,
// page v), so the highest position is maximum - minimum - page + 1.
struct ScrollInfo {
    unsigned mask = 0;
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = -1;
};

// How long an arrow or track part must be held before it repeats, and how
// often it repeats then.  Tests shorten both.
struct ScrollRepeatTiming {
    int delayMs = 500;
    int repeatMs = 100;
};

// A scroll bar drawn entirely from a skin image of 9 x 3 square cells
// (columns: up, down, thumb, track of a vertical bar, then left, right,
// thumb, track of a horizontal one; rows: normal, hover, pressed).
//
// The bar owns its scroll information and never moves by itself: every user
// action is reported through scrollRequest(), and the parent answers by
// setting the new position with setScrollInfo().  The slider state inherited
// from QScrollBar mirrors that information for readers such as accessibility
// tools; its setters are not the interface and do not move the bar.
class CSkinScrollBar : public QScrollBar {
    Q_OBJECT

public:
    // The parts of the bar; their codes are also the request codes sent to
    // the parent.  kThumbPosition ends a drag.
    enum Part : int {
        kNoPart = -1,
        kLineUp = 0,
        kLineDown = 1,
        kPageUp = 2,
        kPageDown = 3,
        kThumbPosition = 4,
        kThumbTrack = 5,
    };

    explicit CSkinScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr,
                            ScrollRepeatTiming timing = {});

    // Takes the skin, makes the bar one cell thick (keeping its place and
    // length) and repaints.  An image too small to hold 9 x 3 cells of at
    // least one pixel is refused and nothing changes.
    bool setSkin(const QImage& skin);
    const QImage& skin() const { return skin_; }
    // Thickness of the bar and length of an arrow; 0 before a skin is set.
    int cellSize() const { return cell_; }

    // Stores the fields named by info.mask (range, page, position); with
    // redraw the track and thumb are repainted.  Returns 1.
    int setScrollInfo(const ScrollInfo& info, bool redraw);
    // Fills the fields named by info.mask (range, page, position, track
    // position).  Returns 1.
    int getScrollInfo(ScrollInfo& info) const;

    void setRepeatTiming(ScrollRepeatTiming timing);

    // The part under a point of the bar; only the coordinate along the bar
    // counts.  kNoPart before the bar's start.
    int hitTest(QPoint point) const;
    // Where a part is drawn (an empty rectangle for a part that is not).
    QRect partRect(int part) const;
    // Highest position the bar can be scrolled to.
    int highestPosition() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // A user action, sent synchronously: the part's code on a press and on
    // every repeat (trackPosition 0), kThumbTrack while a drag moves the
    // thumb and kThumbPosition when the drag ends, with the track position.
    void scrollRequest(int code, int trackPosition);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    // Lengths along the bar.
    struct Layout {
        int length = 0;
        int track = 0;
        int thumb = 0;
        int arrow = 0;
        int offset = 0;

        int thumbStart() const { return arrow + offset; }
        int thumbEnd() const { return arrow + offset + thumb; }
    };

    Layout layout(bool forHitTest) const;
    int thumbLength(int track, bool forHitTest) const;
    int along(QPoint point) const;
    QRect alongRect(int start, int length) const;
    QRect trackArea() const;

    void pointerMoved(QPoint point);
    void dragTo(QPoint point);
    void trackHover(QPoint point);
    void startRepeating();
    void repeatStep();
    void cancelInteraction();
    void showLook(int part, int row);
    void mirrorIntoSlider();

    void paintArrow(QPainter& painter, int part) const;
    void paintTrack(QPainter& painter, const QRect& target) const;
    void paintThumb(QPainter& painter, const QRect& target, int row) const;
    QRect cellPiece(int column, int row, int from, int length) const;
    int columnOf(int part) const;

    QImage skin_;
    int cell_ = 0;

    int minimum_ = 0;
    int maximum_ = 0;
    int page_ = 0;
    int position_ = 0;
    int trackPosition_ = -1;

    bool dragging_ = false;
    QPoint pressPoint_;
    int dragStartPosition_ = 0;
    int pressed_ = kNoPart;
    int hovered_ = kNoPart;
    bool leftPressedPart_ = false;
    QPoint pointer_{-1, -1};
    int wheelRemainder_ = 0;
    // Skin row each arrow and the thumb currently show, by part code.
    std::array<int, 6> shownRow_{};

    ScrollRepeatTiming timing_;
    QTimer delayTimer_;
    QTimer repeatTimer_;
};

// Grows (or with a negative delta shrinks) the bar's range as lines are added
// to or removed from its list, keeping the position within the new range.  A
// maximum that would fall below 0 becomes page - 1, so -20000 leaves one empty
// page.
void adjustScrollRange(CSkinScrollBar& bar, int delta);
