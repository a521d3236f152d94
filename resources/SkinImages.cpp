#include "resources/SkinImages.h"

#include "resources/SkinPainter.h"

#include <map>
#include <set>

namespace {

constexpr int kModels[] = {1, 2, 3, 4};

} // namespace

std::vector<SkinJob> SkinJobs() {
    std::map<int, std::pair<const ImageRow*, std::set<int>>> byId;
    for (const ImageRow& row : AppImageIds()) {
        for (int model : kModels) {
            auto& entry = byId[AppImageId(row.role, model)];
            entry.first = &row;
            entry.second.insert(model);
        }
    }
    std::vector<SkinJob> jobs;
    for (const auto& [id, entry] : byId) {
        const ImageRow& row = *entry.first;
        const int model = entry.second.size() == 1 ? *entry.second.begin() : 0;
        jobs.push_back({id, {row.window, row.variant, row.page, model}});
    }
    return jobs;
}

QImage PaintSkin(const SkinRequest& request) {
    switch (request.window) {
    case SkinWindow::Main:
        return PaintMainWindow(request.variant, request.modelType);
    case SkinWindow::KeySettings:
        return PaintKeySettings(request.variant, request.page, request.modelType);
    case SkinWindow::ScrollBar:
        return PaintScrollBar();
    case SkinWindow::FirmwareUpdate:
        return PaintFirmwareUpdate(request.variant);
    case SkinWindow::Backlight:
        return PaintBacklight(request.variant, request.modelType);
    case SkinWindow::Progress:
        return PaintProgress(request.variant);
    case SkinWindow::MultiKeyColour:
        return PaintMultiSelect(request.variant, request.modelType);
    case SkinWindow::VirtualKey:
        return PaintVirtualKey(request.variant);
    }
    return {};
}

QString ModelName(int modelType) {
    switch (modelType) {
    case 2:
        return QStringLiteral("ZarnBT");
    case 3:
        return QStringLiteral("Zarn");
    case 4:
        return QStringLiteral("ZarnRGB");
    default:
        return QStringLiteral("ZarnRGB.BT");
    }
}

Look LookOf(ImageVariant variant) {
    switch (variant) {
    case ImageVariant::Hover:
        return Look::Hover;
    case ImageVariant::Selected:
        return Look::Pressed;
    default:
        return Look::Normal;
    }
}

const SkinItem* FindElement(const SkinTable& table, int id) {
    for (const SkinItem& item : table) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}
