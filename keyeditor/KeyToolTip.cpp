#include "keyeditor/KeyToolTip.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <algorithm>

namespace {

// Below and right of the pointer, as the platform places tips, so the
// pointer does not cover the text.
constexpr QPoint kOffset{12, 20};

} // namespace

KeyToolTip::KeyToolTip(QWidget* owner) : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("keyToolTip"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 255));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 0));
    setPalette(colours);
    setAutoFillBackground(true);
    setMargin(3);
    setAttribute(Qt::WA_ShowWithoutActivating);
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, &KeyToolTip::appear);
}

void KeyToolTip::activate(const QString& text, QPoint globalPos) {
    if (text.isEmpty()) {
        deactivate();
        return;
    }
    active_ = true;
    at_ = globalPos + kOffset;
    setText(text);
    adjustSize();
    if (isVisible()) {
        appear();
    } else {
        delay_.start(kInitialDelayMs);
    }
}

void KeyToolTip::deactivate() {
    active_ = false;
    delay_.stop();
    hide();
}

void KeyToolTip::appear() {
    if (!active_) {
        return;
    }
    QPoint place = at_;
    // Kept on the screen: a tip near the right edge moves left.
    if (const QScreen* screen = QGuiApplication::screenAt(at_)) {
        const QRect area = screen->availableGeometry();
        place.setX(std::min(place.x(), area.right() - width()));
        place.setY(std::min(place.y(), area.bottom() - height()));
    }
    move(place);
    show();
}
