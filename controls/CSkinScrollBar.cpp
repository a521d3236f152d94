#include "controls/CSkinScrollBar.h"

#include "controls/ScrollBarSkinGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

using namespace scroll_bar_skin;

namespace {

// A thumb is never drawn shorter than this, whatever the range.
constexpr int kMinimumThumb = 6;
// Below this track length there is no room for a thumb.
constexpr int kShortestTrackWithThumb = 6;
constexpr int kWheelNotch = 120;

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

bool hasLook(int part) {
    return part == CSkinScrollBar::kLineUp || part == CSkinScrollBar::kLineDown ||
           part == CSkinScrollBar::kThumbTrack;
}

bool isArrow(int part) {
    return part == CSkinScrollBar::kLineUp || part == CSkinScrollBar::kLineDown;
}

} // namespace

CSkinScrollBar::CSkinScrollBar(Qt::Orientation orientation, QWidget* parent, ScrollRepeatTiming timing)
    : QScrollBar(orientation, parent), timing_(timing) {
    // The bar follows the pointer itself and never takes the focus from the
    // dialog's edits.
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    delayTimer_.setSingleShot(true);
    connect(&delayTimer_, &QTimer::timeout, this, &CSkinScrollBar::startRepeating);
    connect(&repeatTimer_, &QTimer::timeout, this, &CSkinScrollBar::repeatStep);
    mirrorIntoSlider();
}

bool CSkinScrollBar::setSkin(const QImage& skin) {
    const int cell = skin.width() / kColumns;
    if (cell < 1 || skin.height() < kRows * cell) {
        return false;
    }
    skin_ = skin.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    cell_ = cell;
    if (orientation() == Qt::Vertical) {
        resize(cell_, height());
    } else {
        resize(width(), cell_);
    }
    update();
    return true;
}

int CSkinScrollBar::setScrollInfo(const ScrollInfo& info, bool redraw) {
    if ((info.mask & kSifRange) != 0) {
        minimum_ = info.minimum;
        maximum_ = info.maximum;
    }
    if ((info.mask & kSifPage) != 0) {
        // The page is a count of rows; a negative one would make every
        // length below meaningless.
        page_ = std::max(0, info.page);
    }
    if ((info.mask & kSifPos) != 0) {
        position_ = info.position;
    }
    mirrorIntoSlider();
    if (redraw) {
        update(trackArea());
    }
    return 1;
}

int CSkinScrollBar::getScrollInfo(ScrollInfo& info) const {
    if ((info.mask & kSifRange) != 0) {
        info.minimum = minimum_;
        info.maximum = maximum_;
    }
    if ((info.mask & kSifPage) != 0) {
        info.page = page_;
    }
    if ((info.mask & kSifPos) != 0) {
        info.position = position_;
    }
    if ((info.mask & kSifTrackPos) != 0) {
        info.trackPosition = trackPosition_;
    }
    return 1;
}

void CSkinScrollBar::setRepeatTiming(ScrollRepeatTiming timing) {
    timing_ = timing;
}

int CSkinScrollBar::highestPosition() const {
    return clampToInt(std::int64_t{maximum_} - minimum_ - page_ + 1);
}

int CSkinScrollBar::thumbLength(int track, bool forHitTest) const {
    if (track < kShortestTrackWithThumb) {
        return 0;
    }
    const std::int64_t range = std::int64_t{maximum_} - minimum_ + 1;
    // The hit test keeps a thumb even when the whole list fits in a page, so
    // a press on such a bar's track starts a (motionless) drag rather than
    // paging.
    if (!forHitTest && range <= page_) {
        return 0;
    }
    if (range <= 0) {
        return track;
    }
    const std::int64_t length = std::int64_t{page_} * track / range;
    // A page larger than the range would make the thumb longer than its
    // track and cover the far arrow.
    return static_cast<int>(std::clamp<std::int64_t>(length, kMinimumThumb, track));
}

CSkinScrollBar::Layout CSkinScrollBar::layout(bool forHitTest) const {
    Layout g;
    g.length = orientation() == Qt::Vertical ? height() : width();
    g.track = std::max(0, g.length - 2 * cell_);
    g.thumb = thumbLength(g.track, forHitTest);
    g.arrow = g.track == 0 ? g.length / 2 : cell_;
    const std::int64_t p = dragging_ ? trackPosition_ : position_;
    const std::int64_t r = std::int64_t{maximum_} + 1 - minimum_ - page_;
    const int room = g.track - g.thumb;
    const std::int64_t offset = r == 0 ? room / 2 : p * room / r;
    // A position outside the range still keeps the thumb inside its track.
    g.offset = static_cast<int>(std::clamp<std::int64_t>(offset, 0, room));
    return g;
}

int CSkinScrollBar::along(QPoint point) const {
    return orientation() == Qt::Vertical ? point.y() : point.x();
}

QRect CSkinScrollBar::alongRect(int start, int length) const {
    if (length <= 0) {
        return {};
    }
    return orientation() == Qt::Vertical ? QRect(0, start, cell_, length) : QRect(start, 0, length, cell_);
}

QRect CSkinScrollBar::trackArea() const {
    const Layout g = layout(false);
    return alongRect(g.arrow, g.length - 2 * g.arrow);
}

int CSkinScrollBar::hitTest(QPoint point) const {
    const int c = along(point);
    if (c < 0) {
        return kNoPart;
    }
    const Layout g = layout(true);
    if (c < g.arrow) {
        return kLineUp;
    }
    if (c < g.thumbStart()) {
        return kPageUp;
    }
    if (c < g.thumbEnd()) {
        return kThumbTrack;
    }
    if (c < g.length - g.arrow) {
        return kPageDown;
    }
    return kLineDown;
}

QRect CSkinScrollBar::partRect(int part) const {
    const Layout g = layout(false);
    switch (part) {
    case kLineUp:
        return alongRect(0, g.arrow);
    case kLineDown:
        return alongRect(g.length - g.arrow, g.arrow);
    case kPageUp:
        return alongRect(g.arrow, g.offset);
    case kThumbTrack:
        return alongRect(g.thumbStart(), g.thumb);
    case kPageDown:
        return alongRect(g.thumbEnd(), g.length - g.arrow - g.thumbEnd());
    default:
        return {};
    }
}

QSize CSkinScrollBar::sizeHint() const {
    const int thickness = std::max(cell_, 1);
    const int length = 5 * thickness;
    return orientation() == Qt::Vertical ? QSize(thickness, length) : QSize(length, thickness);
}

QSize CSkinScrollBar::minimumSizeHint() const {
    const int thickness = std::max(cell_, 1);
    return orientation() == Qt::Vertical ? QSize(thickness, 2 * thickness) : QSize(2 * thickness, thickness);
}

bool CSkinScrollBar::event(QEvent* event) {
    // Everything the stock scroll bar would do with an event (its own hover
    // highlighting, paging, menus) is replaced below, so its handling is
    // skipped altogether.
    return QWidget::event(event);
}

void CSkinScrollBar::resizeEvent(QResizeEvent* /*event*/) {
    update();
}

void CSkinScrollBar::sliderChange(SliderChange /*change*/) {
    // The mirrored slider state never decides what is drawn.
}

void CSkinScrollBar::mirrorIntoSlider() {
    const QSignalBlocker quiet(this);
    setRange(minimum_, std::max(minimum_, highestPosition()));
    setPageStep(page_);
    setValue(position_);
}

int CSkinScrollBar::columnOf(int part) const {
    const int base = orientation() == Qt::Vertical ? 0 : kHorizontalOffset;
    switch (part) {
    case kLineUp:
        return base + UpArrow;
    case kLineDown:
        return base + DownArrow;
    case kThumbTrack:
        return base + VerticalThumb;
    default:
        return base + VerticalTrack;
    }
}

QRect CSkinScrollBar::cellPiece(int column, int row, int from, int length) const {
    const int x = column * cell_;
    const int y = row * cell_;
    return orientation() == Qt::Vertical ? QRect(x, y + from, cell_, length)
                                         : QRect(x + from, y, length, cell_);
}

void CSkinScrollBar::paintEvent(QPaintEvent* /*event*/) {
    if (skin_.isNull()) {
        return;
    }
    QPainter painter(this);
    paintArrow(painter, kLineUp);
    paintArrow(painter, kLineDown);
    paintTrack(painter, partRect(kPageUp));
    paintTrack(painter, partRect(kPageDown));
    paintThumb(painter, partRect(kThumbTrack), shownRow_[kThumbTrack]);
}

void CSkinScrollBar::paintArrow(QPainter& painter, int part) const {
    const QRect target = partRect(part);
    if (target.isEmpty()) {
        return;
    }
    const QRect source = cellPiece(columnOf(part), shownRow_[part], 0, cell_);
    if (target.size() == source.size()) {
        painter.drawImage(target.topLeft(), skin_, source);
        return;
    }
    // A bar shorter than two cells squeezes its arrows.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, skin_, source);
    painter.restore();
}

void CSkinScrollBar::paintTrack(QPainter& painter, const QRect& target) const {
    if (target.isEmpty()) {
        return;
    }
    const int start = along(target.topLeft());
    const int end = start + (orientation() == Qt::Vertical ? target.height() : target.width());
    for (int at = start; at < end; at += cell_) {
        const int piece = std::min(cell_, end - at);
        painter.drawImage(alongRect(at, piece).topLeft(), skin_,
                          cellPiece(columnOf(kPageUp), NormalRow, 0, piece));
    }
}

void CSkinScrollBar::paintThumb(QPainter& painter, const QRect& target, int row) const {
    if (target.isEmpty()) {
        return;
    }
    const int column = columnOf(kThumbTrack);
    const int start = along(target.topLeft());
    const int length = orientation() == Qt::Vertical ? target.height() : target.width();
    const int middle = cell_ - 2 * kThumbEnd;
    if (middle <= 0 || length < 2 * kThumbEnd) {
        // A skin or thumb too small for fixed ends: the cell as a whole.
        painter.drawImage(target, skin_, cellPiece(column, row, 0, cell_));
        return;
    }
    painter.drawImage(alongRect(start, kThumbEnd).topLeft(), skin_, cellPiece(column, row, 0, kThumbEnd));
    const int tiledEnd = start + length - kThumbEnd;
    for (int at = start + kThumbEnd; at < tiledEnd; at += middle) {
        const int piece = std::min(middle, tiledEnd - at);
        painter.drawImage(alongRect(at, piece).topLeft(), skin_, cellPiece(column, row, kThumbEnd, piece));
    }
    painter.drawImage(alongRect(tiledEnd, kThumbEnd).topLeft(), skin_,
                      cellPiece(column, row, cell_ - kThumbEnd, kThumbEnd));
}

void CSkinScrollBar::showLook(int part, int row) {
    if (!hasLook(part) || shownRow_[part] == row) {
        return;
    }
    shownRow_[part] = row;
    update(partRect(part));
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || dragging_ || pressed_ != kNoPart) {
        return;
    }
    const QPoint point = event->position().toPoint();
    pointer_ = point;
    const int part = hitTest(point);
    if (part == kThumbTrack) {
        dragging_ = true;
        pressPoint_ = point;
        dragStartPosition_ = position_;
        trackPosition_ = position_;
        return;
    }
    if (part == kNoPart) {
        return;
    }
    pressed_ = part;
    leftPressedPart_ = false;
    if (isArrow(part)) {
        showLook(part, PressedRow);
    }
    delayTimer_.start(timing_.delayMs);
    Q_EMIT scrollRequest(part, 0);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    pointerMoved(event->position().toPoint());
}

void CSkinScrollBar::leaveEvent(QEvent* /*event*/) {
    // While the thumb is held the pointer still steers it from outside.
    if (!dragging_) {
        pointerMoved(QPoint(-1, -1));
    }
}

void CSkinScrollBar::pointerMoved(QPoint point) {
    pointer_ = point;
    if (dragging_) {
        dragTo(point);
        return;
    }
    if (pressed_ == kNoPart) {
        trackHover(point);
        return;
    }
    leftPressedPart_ = !partRect(pressed_).contains(point);
    if (isArrow(pressed_)) {
        showLook(pressed_, leftPressedPart_ ? NormalRow : PressedRow);
    }
}

void CSkinScrollBar::dragTo(QPoint point) {
    const Layout g = layout(false);
    const std::int64_t distance = along(point) - along(pressPoint_);
    const int room = g.track - g.thumb;
    const std::int64_t moved = room == 0 ? 0 : distance * highestPosition() / room;
    std::int64_t target = std::int64_t{dragStartPosition_} + moved;
    // The upper bound first: when the list fits in a page the minimum wins.
    target = std::min<std::int64_t>(target, highestPosition());
    target = std::max<std::int64_t>(target, minimum_);
    const int next = clampToInt(target);
    if (next == trackPosition_) {
        return;
    }
    const QRect before = partRect(kThumbTrack);
    trackPosition_ = next;
    shownRow_[kThumbTrack] = PressedRow;
    update(before.united(partRect(kThumbTrack)));
    Q_EMIT scrollRequest(kThumbTrack, next);
}

void CSkinScrollBar::trackHover(QPoint point) {
    const int part = hitTest(point);
    if (part == hovered_) {
        return;
    }
    showLook(hovered_, NormalRow);
    showLook(part, HoverRow);
    hovered_ = part;
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    pointer_ = point;
    if (dragging_) {
        const QRect atTrack = partRect(kThumbTrack);
        dragging_ = false;
        Q_EMIT scrollRequest(kThumbPosition, trackPosition_);
        trackPosition_ = -1;
        const QRect atPosition = partRect(kThumbTrack);
        shownRow_[kThumbTrack] = atPosition.contains(point) ? HoverRow : NormalRow;
        update(atTrack.united(atPosition));
        return;
    }
    if (pressed_ != kNoPart) {
        delayTimer_.stop();
        repeatTimer_.stop();
        showLook(pressed_, NormalRow);
        pressed_ = kNoPart;
    }
}

void CSkinScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click does nothing (the stock handler
    // would take it for a press): a quick double click on an arrow moves one
    // line, as the first click alone does.
    event->accept();
}

void CSkinScrollBar::startRepeating() {
    delayTimer_.stop();
    repeatTimer_.start(timing_.repeatMs);
    repeatStep();
}

void CSkinScrollBar::repeatStep() {
    if (leftPressedPart_ || pressed_ < kLineUp || pressed_ > kPageDown) {
        return;
    }
    bool atEnd = false;
    switch (pressed_) {
    case kLineUp:
        atEnd = position_ <= minimum_;
        break;
    case kLineDown:
        atEnd = position_ >= highestPosition();
        break;
    default:
        // Paging stops once the thumb has come under the pointer.
        atEnd = hitTest(pointer_) == kThumbTrack;
        break;
    }
    if (atEnd) {
        repeatTimer_.stop();
        return;
    }
    Q_EMIT scrollRequest(pressed_, 0);
}

void CSkinScrollBar::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (dragging_ || pressed_ != kNoPart) {
        return;
    }
    const QPoint delta = event->angleDelta();
    int steps = orientation() == Qt::Vertical || delta.x() == 0 ? delta.y() : delta.x();
    if (event->inverted()) {
        steps = -steps;
    }
    wheelRemainder_ += steps;
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    // Turning the wheel away from the user scrolls toward the start, one
    // line request at a time so the parent clamps each as it would a click.
    const int code = notches > 0 ? kLineUp : kLineDown;
    const int lines = std::abs(notches) * QApplication::wheelScrollLines();
    for (int i = 0; i < lines; ++i) {
        Q_EMIT scrollRequest(code, 0);
    }
    if (lines > 0) {
        trackHover(event->position().toPoint());
    }
}

void CSkinScrollBar::keyPressEvent(QKeyEvent* event) {
    // Keys belong to the dialog.
    event->ignore();
}

void CSkinScrollBar::contextMenuEvent(QContextMenuEvent* event) {
    event->ignore();
}

void CSkinScrollBar::hideEvent(QHideEvent* /*event*/) {
    cancelInteraction();
}

void CSkinScrollBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        cancelInteraction();
    }
    QWidget::changeEvent(event);
}

void CSkinScrollBar::cancelInteraction() {
    // A bar hidden or disabled under a held button gets no release: stop
    // repeating and drop the drag rather than scroll on unseen.
    delayTimer_.stop();
    repeatTimer_.stop();
    pressed_ = kNoPart;
    hovered_ = kNoPart;
    dragging_ = false;
    trackPosition_ = -1;
    shownRow_.fill(NormalRow);
    update();
}

void adjustScrollRange(CSkinScrollBar& bar, int delta) {
    ScrollInfo info;
    info.mask = kSifAll;
    bar.getScrollInfo(info);
    std::int64_t maximum = std::int64_t{info.maximum} + delta;
    if (maximum < 0) {
        maximum = std::int64_t{info.page} - 1;
    }
    info.maximum = clampToInt(maximum);
    const std::int64_t highest = std::int64_t{info.maximum} - info.minimum - info.page + 1;
    std::int64_t position = std::min<std::int64_t>(info.position, highest);
    position = std::max<std::int64_t>(position, info.minimum);
    info.position = clampToInt(position);
    info.mask = kSifRange | kSifPage | kSifPos;
    bar.setScrollInfo(info, true);
}
