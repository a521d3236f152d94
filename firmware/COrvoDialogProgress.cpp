#include "firmware/COrvoDialogProgress.h"

#include "app/elements/ProgressElements.h"
#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"
#include "skin/DeviceWorker.h"

#include <QPainter>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int kWaitPollMs = 50;
constexpr int kPauseSliceMs = 20;
constexpr int kReadLights = 6;

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The pause after a read only keeps the dialog up; a cancelled operation
// does not wait it out.
void pauseUnlessCancelled(const ConfigDocument& doc, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!doc.device.transfersCancelled() && std::chrono::steady_clock::now() < end) {
        pause(kPauseSliceMs);
    }
}

// Codes 4 to 6 have no progress of their own: one message fills the bar.
bool finishShortOperation(bool ok, const ConfigDocument& doc, bool wrote, const WindowHandle& window,
                          const DevicePauses& pauses) {
    if (window.post(UM_DEVICE_PROGRESS, 150, 0)) {
        // The keyboard needs the pause after a write, cancelled or not.
        if (wrote) {
            pause(pauses.afterWriteMs);
        } else {
            pauseUnlessCancelled(doc, pauses.afterWriteMs);
        }
    }
    return ok;
}

} // namespace

bool RunDeviceOperation(int operationCode, ConfigDocument& doc, const WindowHandle& window,
                        const DevicePauses& pauses) {
    switch (operationCode) {
    case 1: {
        const bool ok = WriteKeysToDevice(doc, window);
        pause(pauses.afterWriteMs);
        return ok;
    }
    case 3: {
        // The lights are read even after a failed key read: they are a
        // separate area, and the user asked for both.  Not after a cancel:
        // the user asked for neither any more.
        const bool keys = ReadKeysFromDevice(doc, window);
        pauseUnlessCancelled(doc, pauses.beforeLightsMs);
        const bool lights = !doc.device.transfersCancelled() && ReadLightsFromDevice(doc);
        return keys && lights;
    }
    case 4:
        return finishShortOperation(WriteLightsToDevice(doc), doc, true, window, pauses);
    case 5:
        return finishShortOperation(ReadCountersFromDevice(doc), doc, false, window, pauses);
    case 6:
        return finishShortOperation(ReadLightsFromDevice(doc), doc, false, window, pauses);
    default:
        return false;
    }
}

COrvoDialogProgress::COrvoDialogProgress(GuiContext& context, QWidget* parent)
    : SkinnedDialog(context, parent) {
    setUpSkin(SkinWindow::Progress);
    progressValue = 1;
    context.doc.progressWindow = handle();
    waitTimer_.setInterval(kWaitPollMs);
    connect(&waitTimer_, &QTimer::timeout, this, &COrvoDialogProgress::startWhenDeviceIsFree);
}

void COrvoDialogProgress::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        startWhenDeviceIsFree();
    }
}

void COrvoDialogProgress::startWhenDeviceIsFree() {
    // The job of a dialog closed earlier may still hold the device; this one
    // stays cancellable while it waits for it.
    if (context_.worker.busy()) {
        waitTimer_.start();
        return;
    }
    waitTimer_.stop();
    const int code = operationCode;
    ConfigDocument& doc = context_.doc;
    const WindowHandle window = handle();
    const DevicePauses pauses = context_.pauses;
    // Allowed here, on this thread, so that a cancel that comes before the
    // worker has begun is not undone by it.
    doc.device.allowTransfers();
    jobStarted_ = true;
    if (code == kReadLights) {
        // The worker reads into a copy of its own: the document takes the
        // colours on this thread when the read succeeded, and never when the
        // user cancelled, however late the worker ends.
        auto staged = std::make_shared<KeyColours>(doc.keyColours);
        stagedLights_ = staged;
        context_.worker.start([&doc, window, pauses, staged] {
            const bool ok =
                finishShortOperation(ReadLightsFromDevice(doc, *staged), doc, false, window, pauses);
            window.post(UM_DEVICE_DONE, ok ? kDone : kFailed, 0);
        });
        return;
    }
    context_.worker.start([code, &doc, window, pauses] {
        const bool ok = RunDeviceOperation(code, doc, window, pauses);
        window.post(UM_DEVICE_DONE, ok ? kDone : kFailed, 0);
    });
}

void COrvoDialogProgress::commitStagedRead() {
    if (stagedLights_ && outcome_ == ProgressOutcome::Finished) {
        context_.doc.keyColours = *stagedLights_;
    }
    stagedLights_.reset();
}

int COrvoDialogProgress::barWidth() const {
    return progressValue * kBarFullWidth / 100;
}

void COrvoDialogProgress::runCommand(int id) {
    if (id == kProgressCmdClose || id == kProgressCmdCancel) {
        cancel();
    }
}

void COrvoDialogProgress::reject() {
    cancel();
}

// The dialog ends at once, as it always did; the worker is asked to stop too,
// so that the next Save, Open or exit does not wait for a read nobody wants.
void COrvoDialogProgress::cancel() {
    waitTimer_.stop();
    cancelled_ = true;
    if (jobStarted_ && outcome_ == ProgressOutcome::Cancelled) {
        context_.doc.device.cancelTransfers();
    }
    progressValue = 0;
    outcome_ = ProgressOutcome::Cancelled;
    done(QDialog::Rejected);
}

void COrvoDialogProgress::userMessage(unsigned message, WPARAM wParam, LPARAM) {
    if (message == UM_DEVICE_PROGRESS) {
        // Counts come from the device library (slots 0..205, or 150); a wild one must not overflow.
        const int count = static_cast<int>(std::min<WPARAM>(wParam, 1000));
        progressValue = (operationCode == 1 || operationCode == 3) ? count * 100 / 150 : count * 200 / 150;
        update();
    } else if (message == UM_DEVICE_DONE && !cancelled_) {
        // A done posted just before the cancel may still arrive: the user's cancel stands.
        outcome_ = wParam == kDone ? ProgressOutcome::Finished : ProgressOutcome::Failed;
        commitStagedRead();
        done(QDialog::Accepted);
    }
}

void COrvoDialogProgress::afterPaint(QPainter& painter) {
    drawSelectedPart(painter, QRect(kBarLeft, kBarTop, barWidth(), kBarHeight));
}

ProgressOutcome RunProgressDialog(GuiContext& context, QWidget* parent, int operationCode) {
    COrvoDialogProgress dialog(context, parent);
    dialog.operationCode = operationCode;
    dialog.exec();
    return dialog.outcome();
}
