#include "skin/SkinnedDialog.h"

#include "model/ConfigDocument.h"
#include "skin/AppResources.h"
#include "skin/ScaleFactor.h"
#include "skin/UserMessageEvent.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWindow>

namespace {

QColor toQColor(ColorRef colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// Key pixels become transparent, so the final smooth stretch does not bleed
// the key colour into the window's edges.
QImage withoutKeyColour(const QImage& image, QRgb key) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] | 0xFF000000u) == (key | 0xFF000000u) && qAlpha(line[x]) == 255) {
                line[x] = 0;
            }
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int alignment(int textFormat) {
    switch (textFormat) {
    case kTextCentre:
        return Qt::AlignTop | Qt::AlignHCenter;
    case kTextRight:
        return Qt::AlignTop | Qt::AlignRight;
    default:
        return Qt::AlignTop | Qt::AlignLeft;
    }
}

} // namespace

SkinnedDialog::SkinnedDialog(GuiContext& context, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), context_(context),
      handle_(MakeWindowHandle(this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

SkinnedDialog::~SkinnedDialog() {
    handle_.close();
}

void SkinnedDialog::done(int result) {
    handle_.close();
    QDialog::done(result);
}

void SkinnedDialog::setUpSkin(Skin skin) {
    scale_ = context_.doc.scaleFactor;
    colourKey_ = toQColor(skin.colourKey).rgb();
    setImages(std::move(skin.background), std::move(skin.hover), std::move(skin.selected));
    imageSize_ = background_.isNull() ? skin.designSize : background_.size();
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
    elements_ = std::move(skin.elements);
    for (SkinItem& item : elements_) {
        if (item.isLabel == 0) {
            item.rect = {Scaled(item.rect.left, scale_), Scaled(item.rect.top, scale_),
                         Scaled(item.rect.right, scale_), Scaled(item.rect.bottom, scale_)};
        }
    }
    canvas_ = QImage(imageSize_, QImage::Format_ARGB32_Premultiplied);
}

void SkinnedDialog::setImages(QImage background, QImage hover, QImage selected) {
    background_ = background.isNull() ? QImage() : withoutKeyColour(background, colourKey_);
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

int SkinnedDialog::commandAt(QPoint point) const {
    for (const SkinItem& item : elements_) {
        if (item.id > 0 && item.isLabel == 0 && item.rect.contains(point.x(), point.y())) {
            return item.id;
        }
    }
    return -1;
}

SkinRect SkinnedDialog::toImage(const SkinRect& r) const {
    return {Unscaled(r.left, scale_), Unscaled(r.top, scale_), Unscaled(r.right, scale_),
            Unscaled(r.bottom, scale_)};
}

QRect SkinnedDialog::toWindow(const SkinRect& r) const {
    return QRect(QPoint(Scaled(r.left, scale_), Scaled(r.top, scale_)),
                 QPoint(Scaled(r.right, scale_) - 1, Scaled(r.bottom, scale_) - 1));
}

void SkinnedDialog::overlay(QPainter& painter, const QImage& from, const SkinRect& windowRect) const {
    if (from.isNull()) {
        return;
    }
    // Left, top, width and height are each divided, as the images were drawn for that.
    const int left = Unscaled(windowRect.left, scale_);
    const int top = Unscaled(windowRect.top, scale_);
    const QRect source(left, top, Unscaled(windowRect.width(), scale_),
                       Unscaled(windowRect.height(), scale_));
    painter.drawImage(source.topLeft(), from, source);
}

void SkinnedDialog::drawCaption(QPainter& painter, const SkinItem& item, const SkinRect& r) const {
    const auto found = item.captions.find(context_.doc.uiLanguage);
    if (found == item.captions.end() || found->second.empty()) {
        return;
    }
    painter.setFont(context_.resources.font(item.fontIndex));
    painter.setPen(toQColor(item.selected != 0 ? item.selectedTextColour : item.textColour));
    painter.drawText(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)),
                     alignment(item.textFormat), QString::fromStdString(found->second));
}

void SkinnedDialog::styleEdit(QWidget* edit, int fontIndex) const {
    QPalette palette = edit->palette();
    const QColor orange(255, 111, 0);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(role, orange);
    }
    palette.setBrush(QPalette::Base, context_.resources.darkBrush());
    palette.setBrush(QPalette::Window, context_.resources.darkBrush());
    edit->setPalette(palette);
    edit->setAutoFillBackground(true);
    edit->setFont(context_.resources.font(fontIndex));
}

void SkinnedDialog::invalidate(const QRect& area) {
    update(area);
}

void SkinnedDialog::paintElement(QPainter& painter, SkinItem& item) {
    if (item.isLabel != 0) {
        drawCaption(painter, item, item.rect);
        return;
    }
    if (item.rect.contains(lastMouse_.x(), lastMouse_.y())) {
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
        if (item.id > 0) {
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

void SkinnedDialog::trackHover(QPoint point) {
    lastMouse_ = point;
    for (SkinItem& item : elements_) {
        if (item.id <= 0 || item.isLabel != 0) {
            continue;
        }
        const bool inside = item.rect.contains(point.x(), point.y());
        if (inside != (item.hovered != 0)) {
            item.hovered = inside ? 1 : 0;
            invalidate(QRect(QPoint(item.rect.left, item.rect.top),
                             QPoint(item.rect.right - 1, item.rect.bottom - 1)));
        }
    }
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    trackHover(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    trackHover(point);
    if (event->button() == Qt::LeftButton && commandAt(point) < 0 && windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
    }
    QDialog::mousePressEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    trackHover(point);
    if (event->button() == Qt::LeftButton) {
        const int id = commandAt(point);
        if (id > 0) {
            runCommand(id);
        }
    }
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

void SkinnedDialog::drawSelectedPart(QPainter& painter, const QRect& area) const {
    const QRect visible = area.intersected(QRect(QPoint(0, 0), imageSize()));
    if (visible.isEmpty()) {
        return;
    }
    if (selected_.isNull()) {
        painter.fillRect(visible, QColor(255, 111, 0));
    } else {
        painter.drawImage(visible.topLeft(), selected_, visible);
    }
}
