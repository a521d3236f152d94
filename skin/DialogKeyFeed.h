#pragma once

#include "platform/WindowKeySource.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;
class WindowKeyTranslator;

// A dialog's own key events as a keyboard capture: while the feed runs,
// every key event addressed to the dialog or any of its widgets becomes a
// hook key event and is swallowed, so no edit, button or shortcut sees it.
class DialogKeyFeed final : public QObject, public WindowKeySource {
    Q_OBJECT

public:
    // `readable` tells whether the key events carry scan codes the evdev
    // table can name here; empty asks the platform plugin.
    DialogKeyFeed(QWidget& dialog, std::function<bool()> readable);
    ~DialogKeyFeed() override;

    bool startKeyFeed(KeyboardCaptureCallback callback) override;
    void stopKeyFeed() override;
    bool feeding() const { return translator_ != nullptr; }

    // xcb and Wayland give the evdev code + 8 as the native scan code; other
    // plugins (offscreen, VNC, framebuffers) give nothing to rely on.
    static bool PlatformGivesScanCodes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& dialog_;
    std::function<bool()> readable_;
    std::unique_ptr<WindowKeyTranslator> translator_;
};
