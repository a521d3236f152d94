#pragma once

#include "app/elements/ImageIds.h"
#include "app/elements/SkinItem.h"
#include "device/COrvoHWI.h"
#include "platform/WindowHandle.h"
#include "skin/DeviceOperation.h"
#include "skin/DialogKeyFeed.h"
#include "skin/GuiContext.h"
#include "skin/OverlayImage.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <optional>
#include <vector>

class QPainter;
class QWidget;

// The base of every window of the program: a frameless dialog drawn from its
// images, shaped by its colour key, scaled by ScaleFactor, dragged by the
// background.  A window states its table, its images and its commands; the
// base does the rest.
//
// How a window is built on it:
//  - The constructor calls setUpSkin(SkinWindow::X): the element table, colour
//    key, design size and image sets come from the window's description in
//    app/elements (WindowDescription.h), the table for the document's model.
//    A window with pages shows another image set with showPage(p).
//  - runCommand(id) is the click on element `id`.  The element clicked is the
//    first active element in table order under the button; labels count only
//    when setClickRules({.labelsHit = true}) says so, and a click on the
//    background (no active hotspot under it) never runs a command: it drags
//    the window.  With a drop interval the click waits that long and a double
//    click drops it; takesDoubleClicks() + doubleClicked(id) make a double
//    click a gesture of its own, rightClicked() is the right button.
//  - isActive(item) decides which elements take part at all: painting, hover
//    and both hit tests ask it.  The default is id > 0; a paged dialog adds
//    its page rule.
//  - Painting: beforePaint() derives flags and captions from the document,
//    paintElement() draws one active, shown element (by default the selected
//    overlay, else the hover one, and captions of labels and rows),
//    afterPaint() draws on top (a progress bar).
//  - hoverChanged(item) runs when the hotspot under the mouse changes: tool
//    tips, status texts.  Controls are changed there, never while painting.
//  - userMessage() receives the UM_* messages posted to handle().
//  - installHook() captures the keyboard for this window; done() and the
//    destructor release it, however the dialog ends.
//  - setDialogKeys() says what Enter and Esc do; keepEnterIn() leaves Enter to
//    an edit.  place(), styleEdit(), byLanguage(), modelCaption() and
//    runDeviceOperation() are the helpers every dialog needs.
class SkinnedDialog : public QDialog {
    Q_OBJECT

public:
    // A window that is not described in app/elements (tests, tools).
    struct Skin {
        SkinTable elements; // 1080-based; hotspots are scaled by setUpSkin
        QImage background;
        QImage hover;
        QImage selected;
        ColorRef colourKey = 0;
        QSize designSize; // the size when the background image is missing
    };

    struct ClickRules {
        // Labels take part in click dispatch (their id is the command).
        bool labelsHit = false;
        // A click runs this long after the button came up, unless a double
        // click drops it meanwhile; 0 runs it at once.
        int dropIntervalMs = 0;
    };

    // What Enter or Esc does when no control keeps the key.
    struct DialogKey {
        enum class Does { Standard, Nothing, RunCommand, End };
        Does does = Does::Standard;
        int value = 0;

        // QDialog's own handling: Esc rejects, Enter presses a default button.
        static DialogKey standard() { return {}; }
        static DialogKey nothing() { return {Does::Nothing, 0}; }
        // As if element `command` was clicked.
        static DialogKey runs(int command) { return {Does::RunCommand, command}; }
        static DialogKey ends(int result) { return {Does::End, result}; }
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
    int page() const { return page_; }

    // The window as painted, at image size, before the final stretch.
    QImage renderImage();

    // Hit tests, in window pixels.  The active hotspot (not a label) under a
    // point, which hover follows and a press must hit not to drag the window;
    // null over the background.
    const SkinItem* hotspotAt(QPoint point) const;
    // The element a click at a point runs, under the window's click rules;
    // null when none.
    const SkinItem* clickTargetAt(QPoint point) const;
    int commandAt(QPoint point) const;
    // Where an element lies in window pixels; a label's rectangle, kept in
    // image pixels, is scaled here, so it is hit where it is drawn.
    QRect windowRect(const SkinItem& item) const;

    bool clickPending() const { return pendingClick_.has_value(); }
    bool hookInstalled() const { return hookInstalled_; }

    // Ends the dialog: a pending click is dropped, the keyboard hook released,
    // and the handle closed, so a worker still running posts nowhere.
    void done(int result) override;

protected:
    // Shapes, sizes and centres the window from its description, with the
    // images of its first page, and scales the hotspots.
    void setUpSkin(SkinWindow window);
    void setUpSkin(Skin skin);
    // The image set of another page of a described window; the hover follows
    // the elements the page makes active.  Repaints.
    void showPage(int page);
    void setImages(QImage background, OverlayImage hover, OverlayImage selected);

    void setClickRules(ClickRules rules) { clickRules_ = rules; }
    void setDialogKeys(DialogKey enter, DialogKey escape);
    // Enter pressed in this control stays with it (its own handling, say a
    // commit) and does not reach the dialog's Enter.
    void keepEnterIn(QWidget* control);

    virtual void runCommand(int id) = 0;
    // Whether an element is drawn, hovered and hit.
    virtual bool isActive(const SkinItem& item) const { return item.id > 0; }
    // The hotspot under the mouse is another one (null: none).
    virtual void hoverChanged(const SkinItem* /*hovered*/) {}
    // A double click is a gesture of its own here: the release that ends it
    // runs doubleClicked(id of the element double-clicked, -1 for none)
    // instead of a click, at the latest after the pick-and-end wait.
    virtual bool takesDoubleClicks() const { return false; }
    virtual void doubleClicked(int /*id*/) {}
    // The right button came up over element `id`; `screenPos` is where a menu goes.
    virtual void rightClicked(int /*id*/, QPoint /*screenPos*/) {}
    virtual void userMessage(unsigned message, WPARAM wParam, LPARAM lParam);
    // Before the elements are drawn (flags and captions from the document).
    virtual void beforePaint() {}
    // One active element with `shown` set, in table order, into the
    // image-sized canvas.  The default: a hotspot or row gets the selected
    // overlay when selected, else the hover overlay when hovered; labels and
    // rows draw their captions.
    virtual void paintElement(QPainter& painter, SkinItem& item);
    // After every element (a progress bar).
    virtual void afterPaint(QPainter&) {}
    // A window-pixel area to repaint; virtual so tests can watch what is invalidated.
    virtual void invalidate(const QRect& area);
    void repaintElement(int id);

    // Every keystroke of the session comes to userMessage() as UM_HOOK_KEY
    // until releaseHook(), done() or the destructor.  Where nothing can grab
    // the keyboard, the keys typed into this window do, and its widgets see
    // none of them meanwhile.  A hook that could not start says why.
    HookStatus installHook();
    void releaseHook();
    // Why no capture could start, in the interface language, for a message.
    QString captureFailureText(const HookStatus& status) const;

    // The text for the interface language (empty for a language the program does not speak).
    QString byLanguage(const char* zh, const char* en) const;
    // The model name, the caption of the program's message boxes.
    QString modelCaption() const;
    // A child control at its 1080-based place: x, y, width, height (or left,
    // top, right, bottom) each times ScaleFactor, truncated.
    void place(QWidget* control, const ControlPlace& design) const;
    void place(QWidget* control, const SkinRect& design) const;
    // Orange RGB(255,111,0) on RGB(20,20,20), as every edit control of the
    // program, with the font whose height is `designFontHeight` x ScaleFactor.
    void styleEdit(QWidget* edit, int designFontHeight) const;
    // Runs a device operation through the progress dialog and tells the user
    // how it ended, in a message box captioned with the model name; a failure
    // gets its reason on a second line.
    ProgressOutcome runDeviceOperation(int operationCode, const OperationMessages& messages);
    // `message`, followed on a second line by why the keyboard could not be
    // used (permission, busy, gone, no answer) in the interface language,
    // when the device knows.
    QString withDeviceReason(const QString& message) const;

    // Drawing helpers in image pixels.
    void overlay(QPainter& painter, const OverlayImage& from, const SkinRect& windowRect) const;
    void drawCaption(QPainter& painter, const SkinItem& item, const SkinRect& imageRect) const;
    SkinRect toImage(const SkinRect& windowRect) const;
    QRect toWindow(const SkinRect& designRect) const;

    SkinItem* mutableElement(int id);
    SkinTable& mutableElements() { return elements_; }
    const OverlayImage& hoverImage() const { return hover_; }
    const OverlayImage& selectedImage() const { return selected_; }
    // Copies `area` of the selected (active) image to the same place, clipped
    // to the image; orange where the window has no such image.
    void drawSelectedPart(QPainter& painter, const QRect& area) const;

    GuiContext& context_;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void setUpFrame(SkinTable elements, QSize designSize);
    void useWindowImages(int page);
    void trackHover(QPoint point);
    void paintCanvas(QImage& canvas);
    void leftButtonUp(QPoint point);
    void runPendingClick();
    void dropPendingClick();
    void endDoubleClick();
    bool keepsEnter(const QWidget* focus) const;

    SkinTable elements_;
    QImage background_;
    OverlayImage hover_;
    OverlayImage selected_;
    QSize imageSize_;
    float scale_ = 1.0f;
    QPoint lastMouse_{-1, -1};
    QRgb colourKey_ = 0;
    QImage canvas_;
    WindowHandle handle_;
    std::optional<SkinWindow> window_;
    int page_ = 0;
    int hoveredIndex_ = -1;

    ClickRules clickRules_;
    std::optional<QPoint> pendingClick_;
    QTimer clickTimer_;
    bool doubleClickArmed_ = false;
    int doubleClickTarget_ = -1;
    QTimer doubleClickTimer_;

    DialogKey enterKey_;
    DialogKey escapeKey_;
    std::vector<const QWidget*> enterKeepers_;
    DialogKeyFeed keyFeed_;
    bool hookInstalled_ = false;
};
