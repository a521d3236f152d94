#pragma once

#include "platform/WindowHandle.h"

#include <QEvent>

// A UM_* message posted to a window from any thread.
class UserMessageEvent : public QEvent {
public:
    UserMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam);

    static QEvent::Type eventType();

    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
};

class QObject;

// A handle that queues every posted message as a UserMessageEvent for
// `target`.  The owner closes the handle before `target` goes away.
WindowHandle MakeWindowHandle(QObject* target);
