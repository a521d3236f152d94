#include "resources/PngWriter.h"

#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

#include <cstdint>
#include <string_view>

namespace {

void appendBigEndian(QByteArray& out, std::uint32_t value) {
    const std::uint32_t big = qToBigEndian(value);
    out.append(reinterpret_cast<const char*>(&big), 4);
}

// Length, type, data and the CRC of type and data.
void appendChunk(QByteArray& out, std::string_view type, const QByteArray& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const qsizetype typeAt = out.size();
    out.append(type.data(), static_cast<qsizetype>(type.size()));
    out.append(data);
    const auto* checked = reinterpret_cast<const Bytef*>(out.constData() + typeAt);
    appendBigEndian(out,
                    static_cast<std::uint32_t>(crc32(0, checked, static_cast<uInt>(out.size() - typeAt))));
}

} // namespace

bool WriteUnfilteredPng(const QImage& image, const QString& path) {
    if (image.isNull()) {
        return false;
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const qsizetype rowBytes = static_cast<qsizetype>(pixels.width()) * (alpha ? 4 : 3);
    QByteArray rows;
    rows.reserve((rowBytes + 1) * pixels.height());
    for (int y = 0; y < pixels.height(); ++y) {
        rows.append('\0'); // filter type 0: none
        rows.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    QByteArray packed(static_cast<qsizetype>(packedSize), '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(rows.constData()), static_cast<uLong>(rows.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return false;
    }
    packed.resize(static_cast<qsizetype>(packedSize));

    QByteArray header;
    appendBigEndian(header, static_cast<std::uint32_t>(pixels.width()));
    appendBigEndian(header, static_cast<std::uint32_t>(pixels.height()));
    header.append(static_cast<char>(8));             // bits a sample
    header.append(static_cast<char>(alpha ? 6 : 2)); // RGBA or RGB
    header.append(3, '\0');                          // deflate, adaptive filtering by row, no interlace
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.commit();
}
