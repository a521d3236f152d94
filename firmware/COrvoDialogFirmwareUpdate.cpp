#include "firmware/COrvoDialogFirmwareUpdate.h"

#include "app/elements/FirmwareUpdateElements.h"
#include "app/elements/ProgressElements.h"
#include "firmware/FirmwarePrefix.h"
#include "model/ConfigDocument.h"
#include "model/FirmwareFile.h"
#include "model/LayoutBackup.h"
#include "skin/DeviceWorker.h"
#include "skin/UserPrompts.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>

#include <array>

namespace {

// A keyboard restarts after its update before it answers again.
constexpr auto kRestartWait = std::chrono::seconds(30);

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

} // namespace

// The reader never waits on what it opens: a FIFO chosen in the file dialog
// would otherwise hold the device worker, and every later operation, for good.
int DownloadFirmwareFile(ConfigDocument& doc, const std::string& path, const WindowHandle& window,
                         const std::function<bool()>& beforeFirstRecord) {
    const FirmwareFile file = ReadFirmwareFile(path);
    switch (file.error) {
    case FirmwareFileError::None:
        break;
    case FirmwareFileError::TooLarge:
        return COrvoDialogFirmwareUpdate::kDownloadFailed;
    case FirmwareFileError::CannotOpen:
    case FirmwareFileError::CannotRead:
        return COrvoDialogFirmwareUpdate::kFileNotOpened;
    }
    // An empty file is refused by the library before it sends anything.
    if (!file.text.empty() && beforeFirstRecord && !beforeFirstRecord()) {
        return COrvoDialogFirmwareUpdate::kBackupFailed;
    }
    // c_str() carries the zero byte the library reads up to.
    const bool ok = doc.device.WriteFirmwareToKeyboard(file.text.c_str(), file.text.size(), window);
    return ok ? COrvoDialogFirmwareUpdate::kDownloaded : COrvoDialogFirmwareUpdate::kDownloadFailed;
}

COrvoDialogFirmwareUpdate::COrvoDialogFirmwareUpdate(GuiContext& context, QWidget* parent)
    : SkinnedDialog(context, parent) {
    setUpSkin(SkinWindow::FirmwareUpdate);
    updateReady = 1;
    progressValue = 0;
    context.doc.progressWindow = handle();

    versionEdit_ = makeEdit(this, "versionEdit");
    pathEdit_ = makeEdit(this, "pathEdit");
    place(versionEdit_, kFirmwareVersionEditRect);
    place(pathEdit_, kFirmwarePathEditRect);
    styleEdit(versionEdit_, kFirmwareEditFontIndex);
    styleEdit(pathEdit_, kFirmwareEditFontIndex);

    // A transfer left running by a closed dialog finishes before the keyboard is asked again.
    context.worker.waitIdle();
    queryVersion();
}

bool COrvoDialogFirmwareUpdate::deviceBusy() const {
    return context_.worker.busy();
}

void COrvoDialogFirmwareUpdate::sayInLanguage(const char* zh, const char* en) {
    const QString text = byLanguage(zh, en);
    if (!text.isEmpty()) {
        context_.prompts.message(this, text, QString(), PromptButtons::Ok, PromptIcon::None);
    }
}

void COrvoDialogFirmwareUpdate::queryVersion() {
    std::array<wchar_t, kVersionTextLength> version{};
    if (context_.doc.device.ReadKeyboardVersion(version.data())) {
        version.back() = L'\0';
        versionEdit_->setText(QString::fromWCharArray(version.data()));
    } else {
        sayInLanguage("读取键盘版本失败", "Failed on reading keyboard version infomation");
    }
}

void COrvoDialogFirmwareUpdate::runCommand(int id) {
    switch (id) {
    case kFirmwareCmdClose:
    case kFirmwareCmdCancel:
        close(QDialog::Rejected);
        break;
    case kFirmwareCmdGetVersion:
        // One thread on the keyboard at a time: not while a download runs.
        if (!deviceBusy()) {
            queryVersion();
        }
        break;
    case kFirmwareCmdOpen:
        if (!deviceBusy()) {
            openFile();
        }
        break;
    case kFirmwareCmdUpdate:
        startUpdate();
        break;
    default:
        break;
    }
}

void COrvoDialogFirmwareUpdate::close(int result) {
    updateReady = 1;
    progressValue = 0;
    done(result);
}

void COrvoDialogFirmwareUpdate::openFile() {
    const std::optional<QString> path =
        context_.prompts.openFile(this, {QStringLiteral("bin(*.bin)|*.bin"), QStringLiteral("bin"), false});
    if (!path) {
        return;
    }
    const QFileInfo info(*path);
    chosenFileName = info.completeBaseName();
    const int model = context_.doc.modelType;
    if (FirmwareMatchesModel(chosenFileName.toStdString(), model)) {
        chosenFilePath = *path;
        pathEdit_->setText(chosenFilePath);
        updateReady = 1;
        return;
    }
    const QString name = QString::fromUtf8(ModelName(model));
    const QString text = context_.doc.uiLanguage == "zh-CN"
                             ? QStringLiteral("固件不匹配，请选择%1").arg(name)
                             : QStringLiteral("The firmware does not match,please select %1").arg(name);
    context_.prompts.message(this, text, modelCaption(), PromptButtons::Ok, PromptIcon::Warning);
}

void COrvoDialogFirmwareUpdate::startUpdate() {
    if (!FirmwareMatchesModel(chosenFileName.toStdString(), context_.doc.modelType)) {
        context_.prompts.message(this, QStringLiteral("The firmware does not match"), modelCaption(),
                                 PromptButtons::Ok, PromptIcon::Warning);
        return;
    }
    if (updateReady == 0 || deviceBusy()) {
        return;
    }
    startDownload(true);
}

// Before the first record the keyboard's layout is read and saved, because
// an update may leave the keyboard with its factory layout.  A layout that
// cannot be read stops the update until the user says to go on.
void COrvoDialogFirmwareUpdate::startDownload(bool backUpFirst) {
    updateReady = 0;
    updateStarted_ = true;
    ConfigDocument& doc = context_.doc;
    doc.firmwarePath = chosenFilePath.toStdString();
    const std::string path = doc.firmwarePath;
    const WindowHandle window = handle();
    const int model = doc.modelType;
    layout_ = std::make_shared<LayoutState>();
    context_.worker.start([&doc, path, window, model, backUpFirst, layout = layout_] {
        const auto backUp = [&] {
            const LayoutBackup backup = BackUpKeyboardLayout(model, LayoutBackupFolder());
            layout->backupPath = backup.path;
            layout->problem = backup.problem;
            return static_cast<bool>(backup);
        };
        const int result =
            DownloadFirmwareFile(doc, path, window, backUpFirst ? backUp : std::function<bool()>());
        window.post(UM_DEVICE_DONE, static_cast<WPARAM>(result), 0);
    });
    progressValue = 1;
    update();
}

QString COrvoDialogFirmwareUpdate::backupPath() const {
    return QString::fromStdString(layout_->backupPath);
}

void COrvoDialogFirmwareUpdate::backupFailed() {
    const QString question =
        byLanguage("无法读取键盘当前的按键布局，升级后将无法恢复。\r\n仍要升级吗？",
                   "The keyboard's layout could not be read, so it cannot be written back after the "
                   "update.\r\nUpdate anyway?");
    if (!question.isEmpty() && context_.prompts.message(this, question, modelCaption(), PromptButtons::YesNo,
                                                        PromptIcon::Warning) == PromptAnswer::Yes) {
        startDownload(false);
        return;
    }
    updateReady = 1;
    progressValue = 0;
    update();
}

void COrvoDialogFirmwareUpdate::downloaded() {
    if (layout_->backupPath.empty()) {
        return;
    }
    const QString question = byLanguage(
        "是否将升级前的按键布局写回键盘？\r\n布局已备份在：%1",
        "Write the layout the keyboard had before the update back to it?\r\nIt is backed up in %1");
    if (question.isEmpty() ||
        context_.prompts.message(this, question.arg(backupPath()), modelCaption(), PromptButtons::YesNo,
                                 PromptIcon::Question) != PromptAnswer::Yes) {
        return;
    }
    restoreLayout();
}

void COrvoDialogFirmwareUpdate::restoreLayout() {
    const WindowHandle window = handle();
    const int model = context_.doc.modelType;
    context_.worker.start([window, model, layout = layout_] {
        layout->problem = RestoreLayoutAfterUpdate(model, layout->backupPath, kRestartWait);
        window.post(UM_DEVICE_DONE, layout->problem.empty() ? kLayoutRestored : kRestoreFailed, 0);
    });
}

void COrvoDialogFirmwareUpdate::userMessage(unsigned message, WPARAM wParam, LPARAM) {
    if (message == UM_DEVICE_PROGRESS) {
        progressValue = static_cast<int>(std::min<WPARAM>(wParam, 1000)) * 100 / 150;
        updateReady = 0;
        invalidate(toWindow(kFirmwareBarArea));
        return;
    }
    if (message != UM_DEVICE_DONE) {
        return;
    }
    switch (wParam) {
    case kDownloaded:
        updateReady = 1;
        sayInLanguage(
            "固件下载完成。\r\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，请拔下USB重新上电。",
            "The Firmware is downloaded successfully.\r\nPlease keep the USB plug in until three indicator "
            "lights flash simultaneously.\r\nThen firmware updated completely,pleased unplug the USB and "
            "plug in.");
        downloaded();
        break;
    case kDownloadFailed:
        updateReady = 1;
        sayInLanguage("固件下载失败!", "Firmware download failed.");
        break;
    case kFileNotOpened:
        sayInLanguage("打开固件文件失败", "Can't open firmware file");
        break;
    case kBackupFailed:
        backupFailed();
        break;
    case kLayoutRestored:
        sayInLanguage("按键布局已写回键盘。", "The layout is written back to the keyboard.");
        break;
    case kRestoreFailed: {
        const QString text = byLanguage("按键布局写回失败。\r\n布局备份保存在：%1",
                                        "The layout could not be written back.\r\nIt is kept in %1");
        if (!text.isEmpty()) {
            context_.prompts.message(this, text.arg(backupPath()), modelCaption(), PromptButtons::Ok,
                                     PromptIcon::Warning);
        }
        break;
    }
    default:
        break;
    }
}

int COrvoDialogFirmwareUpdate::barWidth() const {
    return progressValue * kBarFullWidth / 100;
}

void COrvoDialogFirmwareUpdate::afterPaint(QPainter& painter) {
    drawSelectedPart(painter, QRect(kBarLeft, kBarTop, barWidth(), kBarHeight));
}
