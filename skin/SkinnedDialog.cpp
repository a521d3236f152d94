#include "skin/SkinnedDialog.h"

#include "app/elements/SkinItemPainting.h"
#include "app/elements/WindowDescription.h"
#include "model/Catalogue.h"
#include "model/ConfigDocument.h"
#include "model/DeviceFailureText.h"
#include "skin/AppResources.h"
#include "skin/CaptureFailureText.h"
#include "skin/KeyboardHook.h"
#include "skin/Language.h"
#include "skin/ScaleFactor.h"
#include "skin/UserMessageEvent.h"
#include "skin/UserPrompts.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

QRect toQRect(const SkinRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

SkinnedDialog::SkinnedDialog(GuiContext& context, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), context_(context),
      handle_(MakeWindowHandle(this)), keyFeed_(*this, context.desktop.windowKeysReadable) {
    handle_.setKeySource(&keyFeed_);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A Wayland compositor takes the mask for input only: the colour-key
    // pixels must be transparent in the window's own buffer to be cut away.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    clickTimer_.setSingleShot(true);
    connect(&clickTimer_, &QTimer::timeout, this, &SkinnedDialog::runPendingClick);
    doubleClickTimer_.setSingleShot(true);
    connect(&doubleClickTimer_, &QTimer::timeout, this, &SkinnedDialog::endDoubleClick);
}

SkinnedDialog::~SkinnedDialog() {
    releaseHook();
    handle_.close();
}

void SkinnedDialog::done(int result) {
    dropPendingClick();
    doubleClickArmed_ = false;
    doubleClickTimer_.stop();
    releaseHook();
    handle_.close();
    QDialog::done(result);
}

void SkinnedDialog::setUpSkin(SkinWindow window) {
    const WindowDescription& description = DescribeWindow(window);
    SkinTable table =
        description.elements != nullptr ? description.elements(context_.doc.modelType) : SkinTable{};
    table.resize(static_cast<std::size_t>(description.slotCount));
    const std::vector<int> pages = ImagePages(window);
    window_ = window;
    page_ = pages.empty() ? 0 : pages.front();
    colourKey_ = ToQColor(description.colourKey).rgb();
    useWindowImages(page_);
    setUpFrame(std::move(table), QSize(description.width, description.height));
}

void SkinnedDialog::setUpSkin(Skin skin) {
    colourKey_ = ToQColor(skin.colourKey).rgb();
    setImages(std::move(skin.background), OverlayImage(skin.hover), OverlayImage(skin.selected));
    setUpFrame(std::move(skin.elements), skin.designSize);
}

void SkinnedDialog::setUpFrame(SkinTable elements, QSize designSize) {
    scale_ = context_.doc.scaleFactor;
    imageSize_ = background_.isNull() ? designSize : background_.size();
    const QSize windowSize(Scaled(imageSize_.width(), scale_), Scaled(imageSize_.height(), scale_));
    setFixedSize(windowSize);
    if (!background_.isNull()) {
        // The key pixels are transparent by now: the alpha channel is the shape.
        const QImage shape =
            background_.createAlphaMask().scaled(windowSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        setMask(QBitmap::fromImage(shape));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + static_cast<int>((area.width() - windowSize.width()) * 0.5),
             area.top() + static_cast<int>((area.height() - windowSize.height()) * 0.5));
    }
    elements_ = std::move(elements);
    for (SkinItem& item : elements_) {
        if (item.isLabel == 0) {
            item.rect = {Scaled(item.rect.left, scale_), Scaled(item.rect.top, scale_),
                         Scaled(item.rect.right, scale_), Scaled(item.rect.bottom, scale_)};
        }
    }
    canvas_ = QImage(imageSize_, QImage::Format_ARGB32_Premultiplied);
}

void SkinnedDialog::useWindowImages(int page) {
    const AppResources& images = context_.resources;
    OverlayImage selected = images.overlay(*window_, ImageVariant::Selected, page);
    setImages(images.image(*window_, ImageVariant::Background, page),
              images.overlay(*window_, ImageVariant::Hover, page),
              selected.isNull() ? images.overlay(*window_, ImageVariant::Active, page) : std::move(selected));
}

void SkinnedDialog::showPage(int page) {
    page_ = page;
    if (window_) {
        useWindowImages(page);
    }
    trackHover(lastMouse_);
    update();
}

void SkinnedDialog::setImages(QImage background, OverlayImage hover, OverlayImage selected) {
    // The images of a described window come keyed already and are shared
    // as they are; a window's own images are keyed here.
    background_ = background.isNull() ? QImage() : WithoutKeyColour(std::move(background), colourKey_);
    hover_ = std::move(hover);
    selected_ = std::move(selected);
}

const SkinItem* SkinnedDialog::element(int id) const {
    for (const SkinItem& item : elements_) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

SkinItem* SkinnedDialog::mutableElement(int id) {
    return const_cast<SkinItem*>(static_cast<const SkinnedDialog*>(this)->element(id));
}

QRect SkinnedDialog::windowRect(const SkinItem& item) const {
    return item.isLabel != 0 ? toWindow(item.rect) : toQRect(item.rect);
}

const SkinItem* SkinnedDialog::hotspotAt(QPoint point) const {
    for (const SkinItem& item : elements_) {
        if (item.isLabel == 0 && isActive(item) && item.rect.contains(point.x(), point.y())) {
            return &item;
        }
    }
    return nullptr;
}

const SkinItem* SkinnedDialog::clickTargetAt(QPoint point) const {
    for (const SkinItem& item : elements_) {
        if ((item.isLabel == 0 || clickRules_.labelsHit) && isActive(item) &&
            windowRect(item).contains(point)) {
            return &item;
        }
    }
    return nullptr;
}

int SkinnedDialog::commandAt(QPoint point) const {
    const SkinItem* item = clickTargetAt(point);
    return item != nullptr ? item->id : -1;
}

SkinRect SkinnedDialog::toImage(const SkinRect& r) const {
    return {Unscaled(r.left, scale_), Unscaled(r.top, scale_), Unscaled(r.right, scale_),
            Unscaled(r.bottom, scale_)};
}

QRect SkinnedDialog::toWindow(const SkinRect& r) const {
    return QRect(QPoint(Scaled(r.left, scale_), Scaled(r.top, scale_)),
                 QPoint(Scaled(r.right, scale_) - 1, Scaled(r.bottom, scale_) - 1));
}

void SkinnedDialog::overlay(QPainter& painter, const OverlayImage& from, const SkinRect& windowRect) const {
    if (from.isNull()) {
        return;
    }
    // Left, top, width and height are each divided, as the images were drawn for that.
    const int left = Unscaled(windowRect.left, scale_);
    const int top = Unscaled(windowRect.top, scale_);
    const QRect source(left, top, Unscaled(windowRect.width(), scale_),
                       Unscaled(windowRect.height(), scale_));
    from.draw(painter, source.topLeft(), source);
}

void SkinnedDialog::drawCaption(QPainter& painter, const SkinItem& item, const SkinRect& r) const {
    const auto found = item.captions.find(context_.doc.uiLanguage);
    if (found == item.captions.end() || found->second.empty()) {
        return;
    }
    painter.setFont(context_.resources.font(item.fontIndex));
    painter.setPen(ToQColor(item.selected != 0 ? item.selectedTextColour : item.textColour));
    painter.drawText(toQRect(r), ToQtAlignment(item.textFormat), QString::fromStdString(found->second));
}

void SkinnedDialog::invalidate(const QRect& area) {
    update(area);
}

void SkinnedDialog::repaintElement(int id) {
    if (const SkinItem* item = element(id)) {
        invalidate(windowRect(*item));
    }
}

void SkinnedDialog::paintElement(QPainter& painter, SkinItem& item) {
    if (item.isLabel != 0) {
        drawCaption(painter, item, item.rect);
        return;
    }
    if (item.selected != 0) {
        overlay(painter, selected_, item.rect);
    } else if (item.hovered != 0) {
        overlay(painter, hover_, item.rect);
    }
    if (item.scaledLabel != 0) {
        drawCaption(painter, item, toImage(item.rect));
    }
}

void SkinnedDialog::paintCanvas(QImage& canvas) {
    beforePaint();
    QPainter painter(&canvas);
    if (background_.isNull()) {
        painter.fillRect(canvas.rect(), context_.resources.darkBrush());
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, background_);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    for (SkinItem& item : elements_) {
        if (item.shown != 0 && isActive(item)) {
            paintElement(painter, item);
        }
    }
    afterPaint(painter);
}

QImage SkinnedDialog::renderImage() {
    QImage canvas(imageSize_, QImage::Format_ARGB32_Premultiplied);
    paintCanvas(canvas);
    return canvas;
}

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    if (canvas_.size() != imageSize_) {
        canvas_ = QImage(imageSize_, QImage::Format_ARGB32_Premultiplied);
    }
    paintCanvas(canvas_);
    QPainter painter(this);
    painter.setClipRegion(event->region());
    // The canvas covers the whole window: nothing beneath needs blending in.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, Scaled(imageSize_.width(), scale_), Scaled(imageSize_.height(), scale_)),
                      canvas_);
}

void SkinnedDialog::drawSelectedPart(QPainter& painter, const QRect& area) const {
    const QRect visible = area.intersected(QRect(QPoint(0, 0), imageSize()));
    if (visible.isEmpty()) {
        return;
    }
    if (selected_.isNull()) {
        painter.fillRect(visible, QColor(255, 111, 0));
    } else {
        selected_.draw(painter, visible.topLeft(), visible);
    }
}

void SkinnedDialog::trackHover(QPoint point) {
    lastMouse_ = point;
    int under = -1;
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        SkinItem& item = elements_[i];
        // Elements a page switch made inactive lose their hover too.
        const bool inside = item.isLabel == 0 && isActive(item) && item.rect.contains(point.x(), point.y());
        if (inside && under < 0) {
            under = static_cast<int>(i);
        }
        if (inside != (item.hovered != 0)) {
            item.hovered = inside ? 1 : 0;
            invalidate(toQRect(item.rect));
        }
    }
    if (under != hoveredIndex_) {
        hoveredIndex_ = under;
        hoverChanged(under < 0 ? nullptr : &elements_[static_cast<std::size_t>(under)]);
    }
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    trackHover(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::leaveEvent(QEvent* event) {
    // A highlight must not stay behind on a window the mouse has left.
    trackHover(QPoint(-1, -1));
    QDialog::leaveEvent(event);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    trackHover(point);
    if (event->button() == Qt::LeftButton && hotspotAt(point) == nullptr && windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
    }
    QDialog::mousePressEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    trackHover(point);
    // The background is the window's to drag: no button does anything there.
    const bool onHotspot = hotspotAt(point) != nullptr;
    if (event->button() == Qt::LeftButton) {
        if (doubleClickArmed_) {
            endDoubleClick();
        } else if (onHotspot) {
            leftButtonUp(point);
        }
    } else if (event->button() == Qt::RightButton && onHotspot) {
        rightClicked(commandAt(point), event->globalPosition().toPoint());
    }
}

void SkinnedDialog::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || hotspotAt(point) == nullptr) {
        // As a press: on the background the window is dragged.
        mousePressEvent(event);
        return;
    }
    trackHover(point);
    // The first click of a double click does nothing; the second comes up as a click of its own.
    dropPendingClick();
    if (takesDoubleClicks()) {
        doubleClickArmed_ = true;
        doubleClickTarget_ = commandAt(point);
        doubleClickTimer_.start(context_.clicks.pickAndEndWaitMs);
    }
}

void SkinnedDialog::leftButtonUp(QPoint point) {
    // A click still waiting runs before the next one: clicks keep their order.
    if (pendingClick_) {
        runPendingClick();
    }
    pendingClick_ = point;
    if (clickRules_.dropIntervalMs > 0) {
        clickTimer_.start(clickRules_.dropIntervalMs);
    } else {
        runPendingClick();
    }
}

void SkinnedDialog::runPendingClick() {
    clickTimer_.stop();
    if (!pendingClick_) {
        return;
    }
    const QPoint point = *pendingClick_;
    pendingClick_.reset();
    const int id = commandAt(point);
    if (id > 0) {
        runCommand(id);
    }
}

void SkinnedDialog::dropPendingClick() {
    clickTimer_.stop();
    pendingClick_.reset();
}

void SkinnedDialog::endDoubleClick() {
    doubleClickTimer_.stop();
    if (!doubleClickArmed_) {
        return;
    }
    doubleClickArmed_ = false;
    doubleClicked(doubleClickTarget_);
}

void SkinnedDialog::setDialogKeys(DialogKey enter, DialogKey escape) {
    enterKey_ = enter;
    escapeKey_ = escape;
}

void SkinnedDialog::keepEnterIn(QWidget* control) {
    enterKeepers_.push_back(control);
}

bool SkinnedDialog::keepsEnter(const QWidget* focus) const {
    return focus != nullptr &&
           std::find(enterKeepers_.begin(), enterKeepers_.end(), focus) != enterKeepers_.end();
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = isEnter(event->key());
    if (!enter && event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (enter && keepsEnter(focusWidget())) {
        event->accept();
        return;
    }
    const DialogKey rule = enter ? enterKey_ : escapeKey_;
    switch (rule.does) {
    case DialogKey::Does::Standard:
        QDialog::keyPressEvent(event);
        return;
    case DialogKey::Does::Nothing:
        break;
    case DialogKey::Does::RunCommand:
        runCommand(rule.value);
        break;
    case DialogKey::Does::End:
        done(rule.value);
        break;
    }
    event->accept();
}

void SkinnedDialog::userMessage(unsigned, WPARAM, LPARAM) {}

void SkinnedDialog::customEvent(QEvent* event) {
    if (event->type() == UserMessageEvent::eventType()) {
        const auto* message = static_cast<UserMessageEvent*>(event);
        userMessage(message->message, message->wParam, message->lParam);
        return;
    }
    QDialog::customEvent(event);
}

HookStatus SkinnedDialog::installHook() {
    releaseHook();
    HookStatus status = context_.hook.install(handle_);
    hookInstalled_ = status.installed();
    return status;
}

void SkinnedDialog::releaseHook() {
    if (hookInstalled_) {
        hookInstalled_ = false;
        context_.hook.uninstall();
    }
}

QString SkinnedDialog::captureFailureText(const HookStatus& status) const {
    return QString::fromStdString(DescribeCaptureFailures(status.failures, context_.doc.uiLanguage));
}

QString SkinnedDialog::byLanguage(const char* zh, const char* en) const {
    return ByLanguage(context_.doc.uiLanguage, zh, en);
}

QString SkinnedDialog::modelCaption() const {
    return QString::fromUtf8(ModelName(context_.doc.modelType));
}

void SkinnedDialog::place(QWidget* control, const ControlPlace& design) const {
    control->setGeometry(Scaled(design.x, scale_), Scaled(design.y, scale_), Scaled(design.width, scale_),
                         Scaled(design.height, scale_));
}

void SkinnedDialog::place(QWidget* control, const SkinRect& design) const {
    control->setGeometry(toWindow(design));
}

void SkinnedDialog::styleEdit(QWidget* edit, int designFontHeight) const {
    QPalette palette = edit->palette();
    const QColor orange(255, 111, 0);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(role, orange);
    }
    palette.setBrush(QPalette::Base, context_.resources.darkBrush());
    palette.setBrush(QPalette::Window, context_.resources.darkBrush());
    edit->setPalette(palette);
    edit->setAutoFillBackground(true);
    edit->setFont(context_.resources.font(Scaled(designFontHeight, scale_)));
}

ProgressOutcome SkinnedDialog::runDeviceOperation(int operationCode, const OperationMessages& messages) {
    // Without the progress dialog wired in, nothing ran: that is no success.
    const ProgressOutcome outcome = context_.dialogs.deviceOperation
                                        ? context_.dialogs.deviceOperation(this, operationCode)
                                        : ProgressOutcome::Failed;
    if (context_.deviceOperationEnded) {
        context_.deviceOperationEnded(operationCode, outcome);
    }
    const OperationMessage& said = outcome == ProgressOutcome::Finished ? messages.finished
                                   : outcome == ProgressOutcome::Failed ? messages.failed
                                                                        : messages.cancelled;
    if (!said.text.isEmpty()) {
        const QString text = outcome == ProgressOutcome::Failed ? withDeviceReason(said.text) : said.text;
        context_.prompts.message(this, text, modelCaption(), PromptButtons::Ok, said.icon);
    }
    return outcome;
}

QString SkinnedDialog::withDeviceReason(const QString& message) const {
    const std::string reason =
        DescribeDeviceFailure(context_.doc.device.lastFailure(), context_.doc.uiLanguage);
    return reason.empty() ? message : message + u'\n' + QString::fromStdString(reason);
}
