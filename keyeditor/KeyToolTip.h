#pragma once

#include <QLabel>
#include <QPoint>
#include <QString>
#include <QTimer>

// The tool tip of the key settings dialog: yellow text on blue, shown a
// moment after the mouse came to rest on a button that has a tip.  Its own
// window rather than QToolTip, whose colours are shared by the whole program.
class KeyToolTip : public QLabel {
    Q_OBJECT

public:
    static constexpr int kInitialDelayMs = 100;

    explicit KeyToolTip(QWidget* owner);

    // Shows `text` near `globalPos` after the initial delay; an empty text deactivates.
    void activate(const QString& text, QPoint globalPos);
    void deactivate();
    bool isActive() const { return active_; }

private:
    void appear();

    QTimer delay_;
    QPoint at_;
    bool active_ = false;
};
