#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstddef>
#include <vector>

class QPainter;

// A hover or selected image as its window uses it: the window only ever
// copies the rectangles of its elements out of it, so only those parts are
// kept, each pixel once.  Made from a whole image it keeps the whole.
class OverlayImage {
public:
    OverlayImage() = default;
    explicit OverlayImage(const QImage& whole);
    // The parts of `image` inside `kept` (image pixels).
    OverlayImage(const QImage& image, const QRegion& kept);

    bool isNull() const { return pieces_.empty(); }
    QSize size() const { return size_; }
    // Copies `source` to `target` as drawImage(target, image, source) would,
    // as far as the parts kept reach.
    void draw(QPainter& painter, QPoint target, const QRect& source) const;
    // Full size again, transparent where nothing is kept.
    QImage toImage() const;
    std::size_t bytes() const;

private:
    struct Piece {
        QRect area;
        QImage pixels;
    };
    std::vector<Piece> pieces_;
    QSize size_;
};
