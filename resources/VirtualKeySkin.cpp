#include "app/elements/VirtualKeyElements.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

constexpr int kWidth = kVirtualKeyWidth;
constexpr int kHeight = kVirtualKeyHeight;
constexpr int kTitleBottom = 44;

// A picked key is lit in the accent colour with a dark legend, so the keys of
// a combo stand out at a glance from the one under the pointer.
const CapStyle kCaps{QColor(255, 170, 80), false, 10, QColor(255, 150, 40)};
const QRectF kCase(18, 54, 898, 242);

// The clusters of the keyboard, each with one legend face: the main block,
// the six keys over the arrows with the three beside the function row, the
// arrows, and the keypad.  A key belongs to the cluster its centre lies in.
const QRectF kLegendClusters[] = {
    {18, 54, 592, 242},
    {610, 54, 130, 125},
    {610, 179, 130, 117},
    {740, 54, 176, 242},
};

QString legendOf(const SkinItem& key) {
    return QString::fromStdString(key.captions.at("en-US"));
}

int clusterOf(const SkinRect& rect) {
    const QPointF centre = toRectF(rect).center();
    for (std::size_t i = 0; i < std::size(kLegendClusters); ++i) {
        if (kLegendClusters[i].contains(centre)) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

// Every key's legend face: the one its cluster shares.
std::vector<LegendFace> legendFaces(const SkinTable& table) {
    std::vector<std::vector<CapLegend>> clusters(std::size(kLegendClusters));
    for (const SkinItem& item : table) {
        if (item.keyNumber > 0 && item.isLabel == 0) {
            clusters[static_cast<std::size_t>(clusterOf(item.rect))].push_back({item.rect, legendOf(item)});
        }
    }
    std::vector<LegendFace> faces;
    for (const std::vector<CapLegend>& cluster : clusters) {
        faces.push_back(SharedLegendFace(cluster, kCaps));
    }
    return faces;
}

// The lock lamps sit over the keypad, where the keyboard has them.
void drawLockLamps(SkinPainter& skin, const SkinTable& table) {
    const char* const kUnder[] = {"NumLock", "KP/", "KP*"};
    for (int i = 0; i < 3; ++i) {
        const auto key = std::find_if(table.begin(), table.end(), [&](const SkinItem& item) {
            return item.keyNumber > 0 && item.captions.at("en-US") == kUnder[i];
        });
        if (key == table.end()) {
            continue;
        }
        skin.lockLamp(QPointF(key->rect.left + key->rect.width() / 2.0, 82), 3.5, 5, i == 0);
    }
}

} // namespace

QImage PaintVirtualKey(ImageVariant variant) {
    const SkinTable table = VirtualKeyElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kWidth, kHeight);
    skin.windowFrame(kTitleBottom);
    skin.wordmark(20, 9, QString());
    skin.keyboardCase(kCase, kCaps);
    drawLockLamps(skin, table);
    const std::vector<LegendFace> faces = legendFaces(table);
    for (const SkinItem& item : table) {
        if (item.id <= 0 || item.isLabel) {
            continue;
        }
        if (item.keyNumber > 0) {
            skin.keyCap(item.rect, legendOf(item), look, kCaps, 0,
                        faces[static_cast<std::size_t>(clusterOf(item.rect))]);
        } else if (item.id == kVkCmdClose) {
            // The close mark of every dialog is the same size.
            skin.glyphButton({item.rect.left + 1, item.rect.top + 1, item.rect.left + 21, item.rect.top + 21},
                             Glyph::Close, look);
        } else {
            skin.button(item.rect, look);
        }
    }
    skin.insetField(toRectF(kVirtualKeyDisplayRect).adjusted(-2, -2, 2, 2));
    return skin.finish(kVirtualKeyColourKey);
}
