#include "skin/AppResources.h"

#include "app/elements/WindowDescription.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QResource>

#include <algorithm>

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
    images_.clear();
    for (const ImageRow& row : AppImageIds()) {
        QImage image(ResourceImagePath(AppImageId(row.role, modelType)));
        if (!image.isNull()) {
            images_[row.role] = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
}

void AppResources::releaseImages() {
    images_.clear();
}

const QImage& AppResources::image(ImageRole role) const {
    const auto found = images_.find(role);
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

QString ResourceImagePath(int id) {
    return QStringLiteral(":/ZarnRES/%1.png").arg(id);
}
