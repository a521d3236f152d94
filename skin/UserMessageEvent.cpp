#include "skin/UserMessageEvent.h"

#include <QCoreApplication>
#include <QPointer>

UserMessageEvent::UserMessageEvent(unsigned msg, WPARAM w, LPARAM l)
    : QEvent(eventType()), message(msg), wParam(w), lParam(l) {}

QEvent::Type UserMessageEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowHandle MakeWindowHandle(QObject* target) {
    QPointer<QObject> guarded(target);
    return WindowHandle::create([guarded](unsigned message, WPARAM wParam, LPARAM lParam) {
        if (QObject* object = guarded.data()) {
            QCoreApplication::postEvent(object, new UserMessageEvent(message, wParam, lParam));
        }
    });
}
