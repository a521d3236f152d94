#pragma once

#include "app/elements/SkinItem.h"
#include "platform/WindowHandle.h"
#include "skin/GuiContext.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;
class QWidget;

// The base of every window of the program: a frameless dialog drawn from
// its images, shaped by its colour key, scaled by ScaleFactor, dragged by
// the background.  A window states its element table, its images and its
// commands; drawing particular to it goes into paintElement().
class SkinnedDialog : public QDialog {
    Q_OBJECT

public:
    struct Skin {
        SkinTable elements; // 1080-based; hotspots are scaled by setUpSkin
        QImage background;
        QImage hover;
        QImage selected;
        ColorRef colourKey = 0;
        QSize designSize; // the size when the background image is missing
    };

    SkinnedDialog(GuiContext& context, QWidget* parent);
    ~SkinnedDialog() override;

    const SkinTable& elements() const { return elements_; }
    // The first element with this id, or null.
    const SkinItem* element(int id) const;
    const WindowHandle& handle() const { return handle_; }
    float scale() const { return scale_; }
    QSize imageSize() const { return imageSize_; }
    QPoint lastMousePoint() const { return lastMouse_; }

    // The window as painted, at image size, before the final stretch.
    QImage renderImage();

    // Id of the command under a point in window pixels, -1 for none.
    virtual int commandAt(QPoint point) const;

    // Ends the dialog; its handle closes, so a worker still running posts nowhere.
    void done(int result) override;

protected:
    // Shapes, sizes and centres the window and scales the hotspots.
    void setUpSkin(Skin skin);
    // Another image set of the same size (a dialog with pages).
    void setImages(QImage background, QImage hover, QImage selected);

    virtual void runCommand(int id) = 0;
    virtual void userMessage(unsigned message, WPARAM wParam, LPARAM lParam);
    // Before the elements are drawn (status texts, derived flags).
    virtual void beforePaint() {}
    // One element, in table order, into the image-sized canvas.  The default
    // draws the hover overlay of a hotspot under the mouse and the caption of
    // a label.
    virtual void paintElement(QPainter& painter, SkinItem& item);
    // After every element (a progress bar).
    virtual void afterPaint(QPainter&) {}
    // A window-pixel area to repaint; virtual so tests can watch what is invalidated.
    virtual void invalidate(const QRect& area);

    // Drawing helpers in image pixels.
    void overlay(QPainter& painter, const QImage& from, const SkinRect& windowRect) const;
    void drawCaption(QPainter& painter, const SkinItem& item, const SkinRect& imageRect) const;
    SkinRect toImage(const SkinRect& windowRect) const;
    QRect toWindow(const SkinRect& designRect) const;
    // Orange on dark, as every edit control of the program.
    void styleEdit(QWidget* edit, int fontIndex) const;

    SkinItem* mutableElement(int id);
    SkinTable& mutableElements() { return elements_; }
    const QImage& hoverImage() const { return hover_; }
    const QImage& selectedImage() const { return selected_; }
    // Copies `area` of the selected (active) image to the same place, clipped
    // to the image; orange where the window has no such image.
    void drawSelectedPart(QPainter& painter, const QRect& area) const;

    GuiContext& context_;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void trackHover(QPoint point);
    void paintCanvas(QImage& canvas);

    SkinTable elements_;
    QImage background_;
    QImage hover_;
    QImage selected_;
    QSize imageSize_;
    float scale_ = 1.0f;
    QPoint lastMouse_{-1, -1};
    QRgb colourKey_ = 0;
    QImage canvas_;
    WindowHandle handle_;
};
