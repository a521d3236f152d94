#pragma once

#include "skin/SkinnedDialog.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

class QLineEdit;

// Shows the keyboard's version, takes a firmware file of the connected
// model and downloads it on the device worker while the bar grows.
class COrvoDialogFirmwareUpdate : public SkinnedDialog {
    Q_OBJECT

public:
    explicit COrvoDialogFirmwareUpdate(GuiContext& context, QWidget* parent = nullptr);

    QString chosenFileName;
    QString chosenFilePath;
    int updateReady = 1;
    int progressValue = 0;

    // The bar's width in image pixels.
    int barWidth() const;
    QLineEdit* versionEdit() const { return versionEdit_; }
    QLineEdit* pathEdit() const { return pathEdit_; }

    // Results the worker posts with UM_DEVICE_DONE.
    static constexpr WPARAM kDownloaded = 1;
    static constexpr WPARAM kDownloadFailed = 2;
    static constexpr WPARAM kFileNotOpened = 3;
    // The layout could not be read before the download; nothing was sent.
    static constexpr WPARAM kBackupFailed = 4;
    static constexpr WPARAM kLayoutRestored = 5;
    static constexpr WPARAM kRestoreFailed = 6;

    // Where the layout of before the current update was saved; empty
    // before one and when it could not be read.
    QString backupPath() const;
    // Whether a download was started: the keyboard may hold another layout since.
    bool updateStarted() const { return updateStarted_; }

protected:
    void runCommand(int id) override;
    void userMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void afterPaint(QPainter& painter) override;

private:
    // What the worker found out about the layout, kept apart from the
    // dialog: a closed dialog leaves its worker running.
    struct LayoutState {
        std::string backupPath;
        std::string problem;
    };

    void queryVersion();
    void openFile();
    void startUpdate();
    void startDownload(bool backUpFirst);
    void downloaded();
    void backupFailed();
    void restoreLayout();
    void close(int result);
    void sayInLanguage(const char* zh, const char* en);
    bool deviceBusy() const;

    QLineEdit* versionEdit_ = nullptr;
    QLineEdit* pathEdit_ = nullptr;
    std::shared_ptr<LayoutState> layout_ = std::make_shared<LayoutState>();
    bool updateStarted_ = false;
};

// The download the dialog's worker runs: 1 downloaded, 2 failed, 3 file not
// opened, 4 `beforeFirstRecord` (given a file worth sending) said no.
int DownloadFirmwareFile(ConfigDocument& doc, const std::string& path, const WindowHandle& window,
                         const std::function<bool()>& beforeFirstRecord = {});
