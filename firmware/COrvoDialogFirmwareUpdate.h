#pragma once

#include "skin/SkinnedDialog.h"

#include <QString>

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

protected:
    void runCommand(int id) override;
    void userMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void afterPaint(QPainter& painter) override;

private:
    void queryVersion();
    void openFile();
    void startUpdate();
    void close(int result);
    void sayInLanguage(const char* zh, const char* en);
    bool deviceBusy() const;

    QLineEdit* versionEdit_ = nullptr;
    QLineEdit* pathEdit_ = nullptr;
};

// The download the dialog's worker runs: 1 downloaded, 2 failed, 3 file not opened.
int DownloadFirmwareFile(ConfigDocument& doc, const std::string& path, const WindowHandle& window);
