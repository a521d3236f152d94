#include "skin/DialogKeyFeed.h"

#include "platform/WindowKeyCapture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

DialogKeyFeed::DialogKeyFeed(QWidget& dialog, std::function<bool()> readable)
    : dialog_(dialog), readable_(std::move(readable)) {}

DialogKeyFeed::~DialogKeyFeed() {
    stopKeyFeed();
}

bool DialogKeyFeed::PlatformGivesScanCodes() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

bool DialogKeyFeed::startKeyFeed(KeyboardCaptureCallback callback) {
    const bool readable = readable_ ? readable_() : PlatformGivesScanCodes();
    if (!readable || !callback) {
        return false;
    }
    stopKeyFeed();
    translator_ = std::make_unique<WindowKeyTranslator>(std::move(callback));
    // The application sees a key event before the focused widget does.
    QCoreApplication::instance()->installEventFilter(this);
    return true;
}

void DialogKeyFeed::stopKeyFeed() {
    if (translator_) {
        QCoreApplication::instance()->removeEventFilter(this);
        translator_.reset();
    }
}

bool DialogKeyFeed::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) {
        return false;
    }
    // Key events reach the widget through its window first; the widget is where they count.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &dialog_ || !translator_) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // Taken as the widget's own key, so no shortcut fires for it; the key event follows.
        event->accept();
        return true;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    translator_->keyEvent(key->nativeScanCode(), type == QEvent::KeyPress, key->isAutoRepeat(),
                          static_cast<std::uint32_t>(key->timestamp()));
    return true;
}
