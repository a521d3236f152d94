#pragma once

#include <QImage>
#include <QString>

// Writes `image` as a PNG whose rows are stored unfiltered: the program then
// decodes each of its images in about half the time (no filter to undo per
// row), and the files come out about as small as filtered ones, these
// being drawings with long runs of one colour.  RGB without an alpha
// channel, RGBA with one; 8 bits a sample.
bool WriteUnfilteredPng(const QImage& image, const QString& path);
