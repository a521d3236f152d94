#include "skin/AppResources.h"

#include "app/elements/SkinItemPainting.h"
#include "app/elements/WindowDescription.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#ifndef ZARN_DATA_DIR
#define ZARN_DATA_DIR "/usr/local/share/zarn"
#endif

AppResources::AppResources() : darkBrush_(QColor(20, 20, 20)) {
    // One family for both languages, whose Latin letters are narrow enough
    // for the captions the images leave room for ("Left Double Click" in
    // 103 pixels at 13); the desktop's default sans is wider.
    const QStringList families = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                  QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Sans Serif")};
    for (int i = 0; i < kAppFontCount; ++i) {
        QFont& font = fonts_[static_cast<std::size_t>(i)];
        font.setFamilies(families);
        // Pixel size 0 is not a font; index 0 takes the smallest one.
        font.setPixelSize(std::max(i, 1));
    }
}

QString AppResources::registerResourceFile(const QStringList& candidates) {
    for (const QString& path : candidates) {
        // Mapped here rather than by Qt, so that only the pages of the
        // images decoded are read in (see MappedFile).
        MappedFile data(QFile::encodeName(path).toStdString());
        if (data.data() != nullptr && QResource::registerResource(data.data())) {
            registered_ = path;
            registeredData_ = std::move(data);
            return path;
        }
    }
    return {};
}

void AppResources::unregisterResourceFile() {
    if (!registered_.isEmpty()) {
        QResource::unregisterResource(registeredData_.data());
        registeredData_ = MappedFile();
        registered_.clear();
    }
}

void AppResources::loadImages(int modelType) {
    releaseImages();
    modelType_ = modelType;
}

void AppResources::releaseImages() {
    images_.clear();
    overlays_.clear();
    decodedWindows_.clear();
    modelType_.reset();
}

void AppResources::decodeWindow(SkinWindow window) const {
    if (!modelType_ || !decodedWindows_.insert(window).second) {
        return;
    }
    std::vector<ImageRole> roles;
    std::vector<QString> paths;
    std::vector<ImageVariant> variants;
    for (const ImageRow& row : AppImageIds()) {
        if (row.window == window) {
            roles.push_back(row.role);
            paths.push_back(ResourceImagePath(AppImageId(row.role, *modelType_)));
            variants.push_back(row.variant);
        }
    }
    const WindowDescription& description = DescribeWindow(window);
    const QRgb key = ColourKeyPixel(description.colourKey);
    const std::optional<QRegion> overlaid = OverlaidArea(description, *modelType_);
    auto isOverlay = [&](std::size_t i) {
        return overlaid && (variants[i] == ImageVariant::Hover || variants[i] == ImageVariant::Selected);
    };
    std::vector<OverlayImage> overlays(paths.size());
    // The images of one window are independent: they are decoded side by
    // side on the cores there are, this thread taking its share.
    std::vector<QImage> decoded(paths.size());
    std::atomic<std::size_t> next = 0;
    auto decodeSome = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            decoded[i] = DecodeResourceImage(paths[i]);
            // The window's shape is cut from its background once, here, so
            // that the window paints the very image kept for the run.
            if (variants[i] == ImageVariant::Background) {
                decoded[i] = WithoutKeyColour(std::move(decoded[i]), key);
            } else if (isOverlay(i)) {
                overlays[i] = OverlayImage(decoded[i], *overlaid);
                decoded[i] = QImage();
            }
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    {
        std::vector<std::jthread> helpers;
        for (std::size_t i = 1; i < std::min(cores, paths.size()); ++i) {
            helpers.emplace_back(decodeSome);
        }
        decodeSome();
    }
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (!decoded[i].isNull()) {
            images_[roles[i]] = std::move(decoded[i]);
        } else if (!overlays[i].isNull()) {
            overlays_[roles[i]] = std::move(overlays[i]);
        }
    }
}

const QImage* AppResources::findImage(ImageRole role) const {
    for (const ImageRow& row : AppImageIds()) {
        if (row.role == role) {
            decodeWindow(row.window);
            break;
        }
    }
    const auto found = images_.find(role);
    return found == images_.end() ? nullptr : &found->second;
}

const OverlayImage* AppResources::findOverlay(ImageRole role) const {
    findImage(role);
    const auto found = overlays_.find(role);
    return found == overlays_.end() ? nullptr : &found->second;
}

QImage AppResources::image(ImageRole role) const {
    if (const QImage* found = findImage(role)) {
        return *found;
    }
    const OverlayImage* overlay = findOverlay(role);
    return overlay != nullptr ? overlay->toImage() : QImage();
}

OverlayImage AppResources::overlay(SkinWindow window, ImageVariant variant, int page) const {
    ImageRole role{};
    if (!FindImageRole(window, variant, page, &role)) {
        return {};
    }
    if (const OverlayImage* overlay = findOverlay(role)) {
        return *overlay;
    }
    const QImage* whole = findImage(role);
    return whole != nullptr ? OverlayImage(*whole) : OverlayImage();
}

std::optional<QRegion> OverlaidArea(const WindowDescription& description, int modelType) {
    if (description.elements == nullptr) {
        return std::nullopt;
    }
    // A window copies from its overlays the rectangle of an element divided
    // by ScaleFactor, each side truncated: at most a pixel beyond the
    // element's own, at any scale.  Two give room to spare.
    constexpr int kMargin = 2;
    QRegion area;
    for (const SkinItem& item : description.elements(modelType)) {
        const SkinRect& r = item.rect;
        if (item.isLabel == 0 && r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top) {
            area += QRect(QPoint(r.left - kMargin, r.top - kMargin),
                          QPoint(r.right + kMargin, r.bottom + kMargin));
        }
    }
    return area;
}

const QFont& AppResources::font(int index) const {
    return fonts_[static_cast<std::size_t>(std::clamp(index, 0, kAppFontCount - 1))];
}

QImage AppResources::image(SkinWindow window, ImageVariant variant, int page) const {
    ImageRole role{};
    return FindImageRole(window, variant, page, &role) ? image(role) : QImage();
}

QStringList AppResources::resourceFileCandidates() {
    return dataFileCandidates(QStringLiteral("ZarnRES.rcc"));
}

QStringList AppResources::dataFileCandidates(const QString& name) {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(name), program.filePath(QStringLiteral("../share/zarn/") + name),
            QDir(QStringLiteral(ZARN_DATA_DIR)).filePath(name)};
}

QImage DecodeResourceImage(const QString& path) {
    // Named as PNG, so that no image format plugin is loaded to guess the format.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    // In place: an opaque image only changes its format's name.
    return image.isNull() ? image : std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QRgb ColourKeyPixel(ColorRef colourKey) {
    return ToQColor(colourKey).rgb();
}

QImage WithoutKeyColour(QImage image, QRgb key) {
    image = std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // An opaque pixel reads the same premultiplied or not; only opaque key
    // pixels are the key.
    const QRgb opaqueKey = key | 0xFF000000u;
    auto firstKeyLine = [&]() -> int {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            if (std::find(line, line + image.width(), opaqueKey) != line + image.width()) {
                return y;
            }
        }
        return -1;
    };
    // An image without key pixels is returned as it came, shared, not copied.
    const int first = firstKeyLine();
    if (first < 0) {
        return image;
    }
    for (int y = first; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::replace(line, line + image.width(), opaqueKey, QRgb(0));
    }
    return image;
}

QString ResourceImagePath(int id) {
    return QStringLiteral(":/ZarnRES/%1.png").arg(id);
}
