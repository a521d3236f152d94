#pragma once

#include "model/EditHistory.h"
#include "model/KeyboardKeys.h"
#include "skin/SkinnedDialog.h"

#include <QIcon>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

class DeviceMonitor;
class QEventLoop;
class QMenu;
class QPlainTextEdit;
class QSystemTrayIcon;
enum class PromptIcon;

// The main window: the keyboard picture, the command row, the layer switch,
// the legend of assignment types and the status box.
class COrvoDlg : public SkinnedDialog {
    Q_OBJECT

public:
    explicit COrvoDlg(GuiContext& context, QWidget* parent = nullptr);
    ~COrvoDlg() override;

    // Opens the keyboard and sets the window up; false (after telling the
    // user) when there is no keyboard or it does not answer.
    bool initialise();
    // Runs the window as the program's main loop until it closes, on while
    // it is hidden in the notification area; the dialog's result.
    int run();

    // The status box's text for the document and the mouse as they are,
    // lines ending in "\r\n".
    std::string statusText() const { return composeStatus(); }
    QPlainTextEdit* statusBox() const { return statusBox_; }
    bool trayIconShown() const;
    // True when the window closed because the keyboard went away.
    bool endedByUnplug() const { return endedByUnplug_; }

    void trayNotify(WPARAM identifier, LPARAM mouseMessage);
    // The device-change notification.
    void deviceChanged();

    // Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y): the document as it was before
    // the last edit of this run, or after the edit undone last.  Nothing
    // reaches the keyboard.  False when there is no such step.
    bool undoEdit();
    bool redoEdit();
    const EditHistory& history() const { return history_; }

    // File dialog filter of profiles, in the program's notation.
    static const char* profileFilter() { return "pro(*.pro)|*.pro|All Files(*.*)|*.*||"; }

protected:
    void runCommand(int id) override;
    void userMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void beforePaint() override;
    void paintElement(QPainter& painter, SkinItem& item) override;
    void hoverChanged(const SkinItem* hovered) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void exitFlow();
    void openHelp();
    bool offerSave();
    void saveProfile();
    void openProfile();
    void readCounters();
    void writeKeys();
    void readAll();
    void editKey(int keyNumber);
    void hideToTray();
    void prepareTray();
    void showFromTray();
    void showMenuAt(const QPoint& where);
    void unblockClicks();
    void waitForDevice();
    void recordEdit();
    void deviceOperationEnded(int operationCode, ProgressOutcome outcome);
    void showUndoneState();
    void handlePendingDeviceChange();
    ProgressOutcome runProgress(int operationCode);
    void say(const QString& text, PromptIcon icon);
    bool ask(const QString& zh, const QString& en);
    std::string composeStatus() const;
    void showStatus();
    std::string keyCaption(int keyNumber) const;
    void drawMarker(QPainter& painter, const SkinItem& item) const;

    QPlainTextEdit* statusBox_ = nullptr;
    // The notification-area icon, prepared at initialisation and made on the first hide.
    QIcon trayIcon_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> trayMenu_;
    QTimer clickTimer_;
    std::unique_ptr<DeviceMonitor> monitor_;
    // The loop run() keeps going while the window is hidden in the tray.
    QEventLoop* trayLoop_ = nullptr;
    bool inTray_ = false;
    bool finished_ = false;
    std::string shownStatus_;
    bool deviceChangePending_ = false;
    bool endedByUnplug_ = false;
    bool closing_ = false;
    EditHistory history_;
    KeyboardKeys keyboard_;
};
