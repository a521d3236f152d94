#include "skin/AppResources.h"

#include "app/elements/WindowDescription.h"

#include <QCoreApplication>
#include <QDir>
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
        if (QFileInfo::exists(path) && QResource::registerResource(path)) {
            registered_ = path;
            return path;
        }
    }
    return {};
}

void AppResources::unregisterResourceFile() {
    if (!registered_.isEmpty()) {
        QResource::unregisterResource(registered_);
        registered_.clear();
    }
}

void AppResources::loadImages(int modelType) {
    releaseImages();
    modelType_ = modelType;
}

void AppResources::releaseImages() {
    images_.clear();
    decodedWindows_.clear();
    modelType_.reset();
}

void AppResources::decodeWindow(SkinWindow window) const {
    if (!modelType_ || !decodedWindows_.insert(window).second) {
        return;
    }
    std::vector<ImageRole> roles;
    std::vector<QString> paths;
    for (const ImageRow& row : AppImageIds()) {
        if (row.window == window) {
            roles.push_back(row.role);
            paths.push_back(ResourceImagePath(AppImageId(row.role, *modelType_)));
        }
    }
    // The images of one window are independent: they are decoded side by
    // side on the cores there are, this thread taking its share.
    std::vector<QImage> decoded(paths.size());
    std::atomic<std::size_t> next = 0;
    auto decodeSome = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            decoded[i] = DecodeResourceImage(paths[i]);
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
        }
    }
}

const QImage& AppResources::image(ImageRole role) const {
    auto found = images_.find(role);
    if (found == images_.end()) {
        for (const ImageRow& row : AppImageIds()) {
            if (row.role == role) {
                decodeWindow(row.window);
                break;
            }
        }
        found = images_.find(role);
    }
    return found == images_.end() ? none_ : found->second;
}

const QFont& AppResources::font(int index) const {
    return fonts_[static_cast<std::size_t>(std::clamp(index, 0, kAppFontCount - 1))];
}

const QImage& AppResources::image(SkinWindow window, ImageVariant variant, int page) const {
    ImageRole role{};
    return FindImageRole(window, variant, page, &role) ? image(role) : none_;
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
    const QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString ResourceImagePath(int id) {
    return QStringLiteral(":/ZarnRES/%1.png").arg(id);
}
