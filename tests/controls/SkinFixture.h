#pragma once

#include <QImage>
#include <QRgb>

// A scroll-bar skin whose every pixel tells where it came from: arrows are
// plain colours by column and row; the thumb cells say which pixel along the
// bar they are (head, middle k, tail); the track cells grade along the bar,
// so a tile drawn from the wrong place shows.
namespace skinfixture {

inline constexpr int kCell = 15;

inline QRgb plain(int column, int row) {
    return qRgb(30 + column * 25, 30 + row * 80, 60);
}

// k: pixel along the bar within the cell.
inline QRgb thumb(int row, int k) {
    if (k < 3) {
        return qRgb(250, 30 + row * 80, 1 + k);
    }
    if (k >= kCell - 3) {
        return qRgb(5, 30 + row * 80, 200 + k);
    }
    return qRgb(100 + k * 8, 30 + row * 80, 120);
}

inline QRgb track(int k) {
    return qRgb(20 + k * 10, 200, 30);
}

inline QImage skin(int cell = kCell) {
    QImage image(9 * cell, 3 * cell, QImage::Format_RGB32);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 9; ++column) {
            for (int y = 0; y < cell; ++y) {
                for (int x = 0; x < cell; ++x) {
                    QRgb colour = plain(column, row);
                    if (column == 2 || column == 6) {
                        colour = thumb(row, column == 2 ? y : x);
                    } else if (column == 3 || column == 7) {
                        colour = track(column == 3 ? y : x);
                    }
                    image.setPixel(column * cell + x, row * cell + y, colour);
                }
            }
        }
    }
    return image;
}

} // namespace skinfixture
