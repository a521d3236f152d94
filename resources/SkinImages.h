#pragma once

#include "app/elements/ImageIds.h"
#include "resources/SkinPainter.h"

#include <QImage>
#include <QString>

#include <vector>

// What one bitmap id shows.  modelType is the single model whose image it
// is, or 0 when several models share it (such an image names no model).
struct SkinRequest {
    SkinWindow window;
    ImageVariant variant;
    int page;
    int modelType;
};

struct SkinJob {
    int id;
    SkinRequest request;
};

// Every bitmap id of the image table once, ascending.
std::vector<SkinJob> SkinJobs();

QImage PaintSkin(const SkinRequest& request);

// The program's own icon (window, notification area, desktop entry).
QImage PaintAppIcon(int pixels);

// Per window.
QImage PaintMainWindow(ImageVariant variant, int modelType);
QImage PaintKeySettings(ImageVariant variant, int page, int modelType);
QImage PaintScrollBar();
QImage PaintFirmwareUpdate(ImageVariant variant);
QImage PaintProgress(ImageVariant variant);
QImage PaintBacklight(ImageVariant variant, int modelType);
QImage PaintMultiSelect(ImageVariant variant, int modelType);
QImage PaintVirtualKey(ImageVariant variant);

// The model names the pictures carry.
QString ModelName(int modelType);

// Look of an element in an image of the given variant.
Look LookOf(ImageVariant variant);

// The first element of a table with this id, or nullptr.
const SkinItem* FindElement(const SkinTable& table, int id);
