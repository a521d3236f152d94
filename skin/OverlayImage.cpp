#include "skin/OverlayImage.h"

#include <QPainter>

OverlayImage::OverlayImage(const QImage& whole) : size_(whole.size()) {
    if (!whole.isNull()) {
        pieces_.push_back({whole.rect(), whole});
    }
}

OverlayImage::OverlayImage(const QImage& image, const QRegion& kept) : size_(image.size()) {
    if (image.isNull()) {
        return;
    }
    // The region's rectangles do not overlap: a pixel drawn twice would be
    // blended twice where the image is not opaque.
    for (const QRect& area : kept.intersected(image.rect())) {
        pieces_.push_back({area, image.copy(area)});
    }
}

void OverlayImage::draw(QPainter& painter, QPoint target, const QRect& source) const {
    const QRect wanted = source.intersected(QRect(QPoint(0, 0), size_));
    for (const Piece& piece : pieces_) {
        const QRect part = wanted.intersected(piece.area);
        if (!part.isEmpty()) {
            painter.drawImage(target + (part.topLeft() - source.topLeft()), piece.pixels,
                              part.translated(-piece.area.topLeft()));
        }
    }
}

QImage OverlayImage::toImage() const {
    if (pieces_.size() == 1 && pieces_.front().area.size() == size_) {
        return pieces_.front().pixels;
    }
    if (isNull()) {
        return {};
    }
    QImage image(size_, pieces_.front().pixels.format());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Piece& piece : pieces_) {
        painter.drawImage(piece.area.topLeft(), piece.pixels);
    }
    return image;
}

std::size_t OverlayImage::bytes() const {
    std::size_t total = 0;
    for (const Piece& piece : pieces_) {
        total += static_cast<std::size_t>(piece.pixels.sizeInBytes());
    }
    return total;
}
