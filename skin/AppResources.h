#pragma once

#include "app/elements/ImageIds.h"
#include "app/elements/SkinItem.h"
#include "platform/MappedFile.h"
#include "skin/OverlayImage.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <set>

inline constexpr int kAppFontCount = 50;

// The drawing resources every window shares for the run: the images of the
// detected model by role, 50 fonts whose index is their pixel height, and
// the dark brush of the edit controls.  Windows read them, never change them.
class AppResources {
public:
    AppResources();

    // Registers the first of `candidates` that exists and loads as a resource
    // file; the path used, or an empty string when none did.
    QString registerResourceFile(const QStringList& candidates);
    void unregisterResourceFile();
    // Once the images in use are decoded, the resource file's pages are only
    // needed again when another window opens: they are handed back (the
    // system's cache keeps them, and a fresh build's file sits there in
    // large pages that a single read maps whole).
    void releaseResourcePages() const { registeredData_.releasePages(); }

    // Loads the ModelType's images.  A window's whole set is decoded the
    // first time one of its images is asked for, which is when the window
    // first opens, and kept for the run: start-up decodes only what the
    // main window shows.  Absent ids stay null.
    void loadImages(int modelType);
    // Every image goes; until the next loadImages all of them are null.
    void releaseImages();

    // Null when the resource file or the id is missing.  A hover or selected
    // image is kept only where its window's elements lie (see OverlayImage):
    // it comes back full-size, transparent elsewhere.
    QImage image(ImageRole role) const;
    // A window's image of a variant on a page (0 for a window with one image
    // set); null when the window has none or it is missing.
    QImage image(SkinWindow window, ImageVariant variant, int page = 0) const;
    // The same image as the window draws its overlays from.
    OverlayImage overlay(SkinWindow window, ImageVariant variant, int page = 0) const;
    // How many images are decoded so far.
    std::size_t decodedImageCount() const { return images_.size() + overlays_.size(); }
    // Font of the given pixel height; indexes outside 0..49 take the nearest one.
    const QFont& font(int index) const;
    const QBrush& darkBrush() const { return darkBrush_; }

    static QStringList resourceFileCandidates();
    // Where a data file of the program may be, in the order to try: beside
    // the program (a build tree), the data folder relative to the program
    // (an installed tree under any prefix), the configured data folder.
    static QStringList dataFileCandidates(const QString& name);

private:
    void decodeWindow(SkinWindow window) const;
    // Decodes the role's window if need be; null if it is not there.
    const QImage* findImage(ImageRole role) const;
    const OverlayImage* findOverlay(ImageRole role) const;

    std::optional<int> modelType_;
    // Filled on demand by the const readers: the windows share the resources
    // read-only, and decoding does not change what they read.
    mutable std::map<ImageRole, QImage> images_;
    mutable std::map<ImageRole, OverlayImage> overlays_;
    mutable std::set<SkinWindow> decodedWindows_;
    std::array<QFont, kAppFontCount> fonts_;
    QBrush darkBrush_;
    QString registered_;
    MappedFile registeredData_; // what Qt reads the registered resources from
};

struct WindowDescription;
// Where a described window draws overlays from its hover and selected
// images, in image pixels; none for a window without an element table.
std::optional<QRegion> OverlaidArea(const WindowDescription& description, int modelType);

// Resource path of a bitmap id.
QString ResourceImagePath(int id);
// A PNG of the resource file, ready to paint; null when it is missing.
QImage DecodeResourceImage(const QString& path);
QRgb ColourKeyPixel(ColorRef colourKey);
// The image premultiplied, its pixels of the key colour transparent, so that
// the final smooth stretch does not bleed the key into the window's edges.
QImage WithoutKeyColour(QImage image, QRgb key);
