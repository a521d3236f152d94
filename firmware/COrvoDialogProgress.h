#pragma once

#include "model/ConfigDocument.h"
#include "skin/DeviceOperation.h"
#include "skin/SkinnedDialog.h"

#include <QTimer>

#include <memory>

// Runs one transfer between the document and the keyboard on the device
// worker and shows its progress.  operationCode: 1 write keys, 3 read keys
// and then colours, 4 write colours, 5 read counters, 6 read colours.
class COrvoDialogProgress : public SkinnedDialog {
    Q_OBJECT

public:
    explicit COrvoDialogProgress(GuiContext& context, QWidget* parent = nullptr);

    int operationCode = 0;
    int progressValue = 1;

    ProgressOutcome outcome() const { return outcome_; }
    // The bar's width in image pixels; it may pass the full width.
    int barWidth() const;

    // Result codes the worker posts with UM_DEVICE_DONE.
    static constexpr WPARAM kDone = 1;
    static constexpr WPARAM kFailed = 2;

protected:
    void runCommand(int id) override;
    void userMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void afterPaint(QPainter& painter) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void startWhenDeviceIsFree();
    void cancel();
    void commitStagedRead();

    bool started_ = false;
    bool jobStarted_ = false;
    bool cancelled_ = false;
    ProgressOutcome outcome_ = ProgressOutcome::Cancelled;
    QTimer waitTimer_;
    // The colours a read of operation 6 stages on the worker; shared, as a
    // cancelled dialog may go before its worker ends.
    std::shared_ptr<KeyColours> stagedLights_;
};

// The operation of a code on the calling thread, posting to `window` as the
// dialog's worker does; false when the keyboard did not do it (or the code is unknown).
bool RunDeviceOperation(int operationCode, ConfigDocument& doc, const WindowHandle& window,
                        const DevicePauses& pauses);

// The progress dialog run modally over `parent` for one operation; what the
// program puts behind the context's device-operation runner.
ProgressOutcome RunProgressDialog(GuiContext& context, QWidget* parent, int operationCode);
