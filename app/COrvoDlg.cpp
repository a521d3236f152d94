#include "app/COrvoDlg.h"

#include "app/QtLanguage.h"
#include "app/UserGuide.h"
#include "app/elements/ImageIds.h"
#include "app/elements/MainWindowElements.h"
#include "app/elements/SkinItemPainting.h"
#include "firmware/COrvoDialogFirmwareUpdate.h"
#include "model/ConfigDocument.h"
#include "model/ProfileFile.h"
#include "platform/DeviceMonitor.h"
#include "skin/AppResources.h"
#include "skin/DeviceWorker.h"
#include "skin/ScaleFactor.h"
#include "skin/UserPrompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSystemTrayIcon>

#include <algorithm>
#include <array>
#include <cstdio>

#ifndef ZARN_VERSION
#define ZARN_VERSION "1.0.5"
#endif
namespace {

// The original platform's device-change message; the monitor thread posts it.
constexpr unsigned WM_DEVICECHANGE = 0x0219;
constexpr WPARAM kTrayIconId = 128;
constexpr LPARAM kLeftDoubleClick = 0x203;
constexpr LPARAM kRightButtonUp = 0x205;
constexpr int kClickBlockMs = 500;

QColor modeColour(int mode) {
    return ToQColor(kModeColours[static_cast<std::size_t>(mode)]);
}

// The status texts are printf patterns with %s fields only.
template <typename... Texts>
std::string format(const char* pattern, const Texts&... texts) {
    const int size = std::snprintf(nullptr, 0, pattern, texts.c_str()...);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, texts.c_str()...);
    return text;
}

QString profileErrorText(const ProfileResult& result, bool saving, bool chinese, int modelType) {
    const QString model = QString::fromUtf8(ModelName(modelType));
    switch (result.error) {
    case ProfileError::CannotWrite:
        return chinese ? QStringLiteral("保存配置文件失败")
                       : QStringLiteral("Failed to save configuration file");
    case ProfileError::CannotRead:
        return chinese ? QStringLiteral("打开配置文件失败") : QStringLiteral("Can't open configuration file");
    case ProfileError::NotWellFormed:
        return chinese ? QStringLiteral("配置文件已损坏")
                       : QStringLiteral("The configuration file is damaged");
    case ProfileError::WrongModel:
        return chinese ? QStringLiteral("配置文件不匹配，请选择%1的配置文件").arg(model)
                       : QStringLiteral("The configuration file does not match,please select a file of %1")
                             .arg(model);
    case ProfileError::BadValue:
        return (chinese
                    ? QStringLiteral("配置文件中有键盘无法接受的数值：\n")
                    : QStringLiteral("The configuration file holds a value the keyboard cannot take:\n")) +
               QString::fromStdString(result.detail);
    case ProfileError::None:
        break;
    }
    return saving ? QStringLiteral("保存配置文件失败") : QStringLiteral("打开配置文件失败");
}

} // namespace

COrvoDlg::COrvoDlg(GuiContext& context, QWidget* parent) : SkinnedDialog(context, parent) {
    setWindowTitle(QString::fromUtf8(ModelName(context.doc.modelType)));
    clickTimer_.setSingleShot(true);
    connect(&clickTimer_, &QTimer::timeout, this, &COrvoDlg::unblockClicks);
    // However the window ends, its notification-area icon goes with it.
    connect(this, &QDialog::finished, this, [this] {
        finished_ = true;
        inTray_ = false;
        if (tray_) {
            tray_->hide();
        }
        if (trayLoop_ != nullptr) {
            trayLoop_->quit();
        }
    });
}

COrvoDlg::~COrvoDlg() {
    context_.deviceOperationEnded = nullptr;
    monitor_.reset();
    if (tray_) {
        tray_->hide();
    }
}

bool COrvoDlg::initialise() {
    ConfigDocument& doc = context_.doc;
    // The program's own messages stay; why the keyboard cannot be used
    // (permission, busy, gone) follows on a second line.
    if (!doc.device.__createDev()) {
        context_.prompts.message(this, withDeviceReason(QStringLiteral("Keyboard is not connected!")),
                                 QString(), PromptButtons::Ok, PromptIcon::None);
        return false;
    }
    std::array<wchar_t, kVersionTextLength> version{};
    if (!doc.device.ReadKeyboardVersion(version.data())) {
        context_.prompts.message(this, withDeviceReason(QStringLiteral("Keyboard has be occupied!")),
                                 QString(), PromptButtons::Ok, PromptIcon::None);
        return false;
    }
    const QIcon icon(QPixmap::fromImage(DecodeResourceImage(QStringLiteral(":/ZarnRES/icon/128.png"))));
    setWindowIcon(icon);

    const QScreen* screen = QGuiApplication::primaryScreen();
    doc.scaleFactor =
        context_.scaleOverride.value_or(ComputeScaleFactor(screen ? screen->geometry().height() : 0));

    setUpSkin(SkinWindow::Main);
    // Enter and Escape would close the window past the exit flow's questions.
    setDialogKeys(DialogKey::nothing(), DialogKey::nothing());

    doc.currentLayer = 0;
    doc.ResetToDefaults();
    doc.unsavedKeyChanges = 0;
    doc.clicksBlocked = 0;
    // The program starts out taking the keyboard to hold the factory
    // assignment it shows (nothing unsaved), and undo goes back no further.
    history_.reset(doc);
    keyboard_.holdKeysOf(doc);
    context_.deviceOperationEnded = [this](int operationCode, ProgressOutcome outcome) {
        deviceOperationEnded(operationCode, outcome);
    };

    trayIcon_ = icon;
    trayMenu_ = std::make_unique<QMenu>();
    QAction* exitItem = trayMenu_->addAction(QString());
    connect(trayMenu_.get(), &QMenu::aboutToShow, this,
            [this, exitItem] { exitItem->setText(byLanguage("关闭", "Exit")); });
    connect(exitItem, &QAction::triggered, this, [this] { done(QDialog::Rejected); });

    statusBox_ = new QPlainTextEdit(this);
    statusBox_->setObjectName(QStringLiteral("statusBox"));
    statusBox_->setReadOnly(true);
    statusBox_->setFrameShape(QFrame::NoFrame);
    statusBox_->setFocusPolicy(Qt::NoFocus);
    statusBox_->setTextInteractionFlags(Qt::NoTextInteraction);
    statusBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statusBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    place(statusBox_, kMainStatusBoxRect);
    styleEdit(statusBox_, kMainStatusFontIndex);
    showStatus();

    WindowHandle window = handle();
    monitor_ = StartDeviceMonitor([window] { window.post(WM_DEVICECHANGE, 0, 0); });
    return true;
}

// QDialog::exec() ends whenever the dialog is hidden, so hiding to the
// notification area would end the program.  While the window is in the
// tray the program goes on in a loop of its own, until the icon brings the
// window back (exec() then shows it again) or it is closed (the tray menu,
// an unplugged keyboard).
int COrvoDlg::run() {
    finished_ = false;
    while (true) {
        exec();
        if (finished_ || !inTray_) {
            break;
        }
        QEventLoop tray;
        trayLoop_ = &tray;
        tray.exec();
        trayLoop_ = nullptr;
        if (finished_) {
            break;
        }
    }
    return result();
}

bool COrvoDlg::trayIconShown() const {
    return tray_ && tray_->isVisible();
}

void COrvoDlg::say(const QString& text, PromptIcon icon) {
    context_.prompts.message(this, text, modelCaption(), PromptButtons::Ok, icon);
}

bool COrvoDlg::ask(const QString& zh, const QString& en) {
    const QString& text = context_.doc.uiLanguage == "zh-CN" ? zh : en;
    return context_.prompts.message(this, text, modelCaption(), PromptButtons::YesNo, PromptIcon::Question) ==
           PromptAnswer::Yes;
}

void COrvoDlg::runCommand(int id) {
    ConfigDocument& doc = context_.doc;
    if (doc.clicksBlocked == 1) {
        return;
    }
    switch (id) {
    case kCmdLanguage:
        if (SkinItem* item = mutableElement(kCmdLanguage); item != nullptr) {
            item->selected = item->selected != 0 ? 0 : 1;
            doc.uiLanguage = item->selected != 0 ? "en-US" : "zh-CN";
            FollowInterfaceLanguage(doc.uiLanguage);
        }
        update();
        break;
    case kCmdReadCounters:
        readCounters();
        break;
    case kCmdHelp:
        openHelp();
        break;
    case kCmdHide:
        hideToTray();
        break;
    case kCmdExit:
        exitFlow();
        break;
    case kCmdSaveProfile:
        saveProfile();
        update();
        break;
    case kCmdOpenProfile:
        openProfile();
        break;
    case kCmdDefaults:
        waitForDevice();
        doc.ResetToDefaults();
        update();
        break;
    case kCmdWriteKeys:
        writeKeys();
        break;
    case kCmdBacklight:
        waitForDevice();
        if (context_.dialogs.backlight) {
            context_.dialogs.backlight(this);
        }
        update();
        break;
    case kCmdReadAll:
        readAll();
        break;
    case kCmdFirmware: {
        COrvoDialogFirmwareUpdate dialog(context_, this);
        dialog.exec();
        // An update may leave the factory layout, or the one written back,
        // on the keyboard: what it holds is known again after a write or read.
        if (dialog.updateStarted()) {
            keyboard_.forget();
        }
        break;
    }
    case kCmdLayer:
        if (SkinItem* item = mutableElement(kCmdLayer); item != nullptr) {
            item->selected = item->selected != 0 ? 0 : 1;
        }
        doc.currentLayer = 1 - doc.currentLayer;
        update();
        break;
    default:
        if (const SkinItem* item = element(id);
            item != nullptr && id >= kFirstKeyElementId && item->keyNumber > 0) {
            editKey(item->keyNumber);
        }
        break;
    }
    recordEdit();
    showStatus();
    handlePendingDeviceChange();
}

// A desktop without a handler for HTML files would leave the click without
// an answer: the user is told where the guide is, to open it by hand.
void COrvoDlg::openHelp() {
    const QString guide = FindUserGuide();
    if (guide.isEmpty()) {
        say(byLanguage("找不到用户指南 Zarn.html，它应在 %1",
                       "The user guide Zarn.html is missing; it belongs in %1")
                .arg(QDir::toNativeSeparators(UserGuideHome())),
            PromptIcon::Warning);
        return;
    }
    const auto& open = context_.desktop.openDocument;
    if (!(open ? open(guide) : OpenWithDesktop(guide))) {
        say(byLanguage("没有可以打开用户指南的程序。用户指南在：\n%1",
                       "No program is set up to open the user guide. It is here:\n%1")
                .arg(QDir::toNativeSeparators(guide)),
            PromptIcon::Information);
    }
}

ProgressOutcome COrvoDlg::runProgress(int operationCode) {
    // A cancelled operation is the user's own doing: nothing more is said.
    return runDeviceOperation(operationCode, {{QStringLiteral("OK!!"), PromptIcon::Exclamation},
                                              {QStringLiteral("Failed!"), PromptIcon::Warning},
                                              {}});
}

void COrvoDlg::readCounters() {
    runProgress(5);
    update();
}

void COrvoDlg::writeKeys() {
    if (runProgress(1) == ProgressOutcome::Finished) {
        context_.doc.unsavedKeyChanges = 0;
    }
    update();
}

void COrvoDlg::readAll() {
    runProgress(3);
    update();
}

void COrvoDlg::editKey(int keyNumber) {
    waitForDevice();
    context_.doc.selectedKey = keyNumber;
    if (context_.dialogs.keySettings && context_.dialogs.keySettings(this) == QDialog::Accepted) {
        context_.doc.unsavedKeyChanges = 1;
    }
    update();
}

void COrvoDlg::saveProfile() {
    const std::optional<QString> path =
        context_.prompts.saveFile(this, {QString::fromUtf8(profileFilter()), QStringLiteral("pro"), true});
    if (!path) {
        return;
    }
    context_.worker.waitIdle();
    const ProfileResult result = SaveProfile(context_.doc, path->toStdString());
    if (!result) {
        say(profileErrorText(result, true, context_.doc.uiLanguage == "zh-CN", context_.doc.modelType),
            PromptIcon::Warning);
    }
}

void COrvoDlg::openProfile() {
    const std::optional<QString> path =
        context_.prompts.openFile(this, {QString::fromUtf8(profileFilter()), QStringLiteral("pro"), false});
    if (path) {
        waitForDevice();
        const ProfileResult result = LoadProfile(context_.doc, path->toStdString());
        if (!result) {
            say(profileErrorText(result, false, context_.doc.uiLanguage == "zh-CN", context_.doc.modelType),
                PromptIcon::Warning);
        }
    }
    update();
    // The click that closed the file dialog must not reach the keyboard picture.
    context_.doc.clicksBlocked = 1;
    clickTimer_.start(kClickBlockMs);
}

// A transfer that a cancelled progress dialog left running may still write
// into the document; once it has ended, what it wrote is a step of its own,
// apart from the command that follows.
void COrvoDlg::waitForDevice() {
    context_.worker.waitIdle();
    history_.record(context_.doc);
}

// A step is whatever an editing command changed; the document is not looked
// at while a cancelled transfer may still write into it (the next command
// or undo takes that once it has ended).
void COrvoDlg::recordEdit() {
    if (!context_.worker.busy()) {
        history_.record(context_.doc);
    }
}

void COrvoDlg::deviceOperationEnded(int operationCode, ProgressOutcome outcome) {
    const ConfigDocument& doc = context_.doc;
    if (outcome != ProgressOutcome::Cancelled) {
        // The job has posted its end and touches the document no more.
        context_.worker.waitIdle();
    }
    switch (operationCode) {
    case 1:
        // A write that did not run to its end may have left any mix behind.
        if (outcome == ProgressOutcome::Finished) {
            keyboard_.holdKeysOf(doc);
        } else {
            keyboard_.forget();
        }
        break;
    case 3:
        if (outcome == ProgressOutcome::Finished) {
            keyboard_.holdKeysOf(doc);
        }
        break;
    default:
        break;
    }
    // Reads change the document, the backlight dialog's Read included, and
    // each is a step of its own.
    recordEdit();
}

bool COrvoDlg::undoEdit() {
    waitForDevice();
    if (!history_.undo(context_.doc)) {
        return false;
    }
    showUndoneState();
    return true;
}

bool COrvoDlg::redoEdit() {
    waitForDevice();
    if (!history_.redo(context_.doc)) {
        return false;
    }
    showUndoneState();
    return true;
}

// The flag follows the keyboard, not the history: whatever the document
// holds now is unsaved exactly when writing it would change the keyboard.
void COrvoDlg::showUndoneState() {
    context_.doc.unsavedKeyChanges = keyboard_.differFrom(context_.doc) ? 1 : 0;
    update();
    showStatus();
}

void COrvoDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool ctrlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrl && event->key() == Qt::Key_Z) {
        undoEdit();
    } else if ((ctrlShift && event->key() == Qt::Key_Z) || (ctrl && event->key() == Qt::Key_Y)) {
        redoEdit();
    } else {
        SkinnedDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void COrvoDlg::unblockClicks() {
    context_.doc.clicksBlocked = 0;
    clickTimer_.stop();
}

bool COrvoDlg::offerSave() {
    if (!ask(QStringLiteral("是否保存按键配置文件??"), QStringLiteral("Save configuration file of key??"))) {
        return false;
    }
    saveProfile();
    update();
    return true;
}

void COrvoDlg::exitFlow() {
    if (context_.doc.unsavedKeyChanges == 1 &&
        !ask(QStringLiteral("配置未写入，是否继续退出??"),
             QStringLiteral("Configuration don't be writted,continue to exit??"))) {
        return;
    }
    offerSave();
    if (tray_) {
        tray_->hide();
    }
    closing_ = true;
    done(QDialog::Accepted);
}

void COrvoDlg::hideToTray() {
    // Without a notification area a hidden window could never be brought back.
    const auto& available = context_.desktop.trayAvailable;
    if (!(available ? available() : QSystemTrayIcon::isSystemTrayAvailable())) {
        showMinimized();
        return;
    }
    inTray_ = true;
    prepareTray();
    tray_->show();
    hide();
}

// The icon itself is made when the window first hides: a notification area
// is reached over the session bus, which no start of the program need wait for.
void COrvoDlg::prepareTray() {
    if (tray_) {
        return;
    }
    tray_ = std::make_unique<QSystemTrayIcon>(trayIcon_);
    tray_->setToolTip(modelCaption());
    tray_->setContextMenu(trayMenu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // Desktop trays differ: some report a double click, some only a click.
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) {
            trayNotify(kTrayIconId, kLeftDoubleClick);
        }
    });
}

void COrvoDlg::showFromTray() {
    inTray_ = false;
    if (tray_) {
        tray_->hide();
    }
    if (trayLoop_ != nullptr) {
        trayLoop_->quit();
        return;
    }
    showNormal();
}

void COrvoDlg::showMenuAt(const QPoint& where) {
    if (trayMenu_ && !byLanguage("关闭", "Exit").isEmpty()) {
        trayMenu_->popup(where);
    }
}

void COrvoDlg::trayNotify(WPARAM identifier, LPARAM mouseMessage) {
    if (identifier != kTrayIconId) {
        return;
    }
    if (mouseMessage == kLeftDoubleClick) {
        showFromTray();
    } else if (mouseMessage == kRightButtonUp) {
        showMenuAt(QCursor::pos());
    }
}

void COrvoDlg::deviceChanged() {
    // A device operation or another dialog is running: it fails on its own,
    // and the change is looked at once it has ended.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        deviceChangePending_ = true;
        return;
    }
    deviceChangePending_ = false;
    if (context_.doc.device.DetectDevice()) {
        return;
    }
    context_.prompts.message(this, QStringLiteral("Keyboard is not connected"), QString(), PromptButtons::Ok,
                             PromptIcon::None);
    if (context_.doc.unsavedKeyChanges == 1) {
        offerSave();
    }
    endedByUnplug_ = true;
    closing_ = true;
    if (tray_) {
        tray_->hide();
    }
    done(QDialog::Rejected);
}

void COrvoDlg::handlePendingDeviceChange() {
    if (deviceChangePending_ && isVisible()) {
        deviceChanged();
    }
}

void COrvoDlg::userMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_TRAY_NOTIFY) {
        trayNotify(wParam, lParam);
    } else if (message == WM_DEVICECHANGE) {
        deviceChanged();
    }
}

void COrvoDlg::hoverChanged(const SkinItem*) {
    showStatus();
}

void COrvoDlg::showStatus() {
    std::string status = composeStatus();
    if (status == shownStatus_ || statusBox_ == nullptr) {
        return;
    }
    shownStatus_ = std::move(status);
    // The box breaks lines itself; a carriage return would show as a glyph.
    statusBox_->setPlainText(QString::fromStdString(shownStatus_).remove(u'\r'));
}

std::string COrvoDlg::keyCaption(int keyNumber) const {
    if (keyNumber < 1 || keyNumber > kKeyCount) {
        return "     ";
    }
    for (const SkinItem& item : elements()) {
        if (item.keyNumber == keyNumber) {
            const auto en = item.captions.find("en-US");
            return (en == item.captions.end() ? std::string() : en->second) + " ";
        }
    }
    return "     ";
}

std::string COrvoDlg::composeStatus() const {
    const ConfigDocument& doc = context_.doc;
    const std::string model = ModelName(doc.modelType);
    const bool zh = doc.uiLanguage == "zh-CN";
    const bool en = doc.uiLanguage == "en-US";
    if (!zh && !en) {
        return {};
    }
    std::string text =
        model + format(zh ? " 编程软件 [版本 " ZARN_VERSION "]\r\n高频键：%s 低频键：%s\r\n敲击次数："
                          : " Programming Software [Ver " ZARN_VERSION
                            "]\r\nHighest: %s Lowest: %s\r\nCounter: ",
                       keyCaption(doc.highestKey), keyCaption(doc.lowestKey));
    const QPoint mouse = lastMousePoint();
    for (const SkinItem& item : elements()) {
        if (item.id < kFirstKeyElementId || item.isLabel != 0 || item.keyNumber < 1 ||
            item.keyNumber > kKeyCount || !item.rect.contains(mouse.x(), mouse.y())) {
            continue;
        }
        const int key = item.keyNumber;
        if (doc.keyCounters[static_cast<std::size_t>(key)] >= 0) {
            text += std::to_string(doc.keyCounters[static_cast<std::size_t>(key)]);
        }
        const auto typeName = [&](int layer) -> std::string {
            const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
            if (mode < 0 || mode >= kTypeCount) {
                return {};
            }
            return zh ? doc.typeNamesZh[static_cast<std::size_t>(mode)]
                      : doc.typeNamesEn[static_cast<std::size_t>(mode)];
        };
        text +=
            format(zh ? "\r\n顶层键：%s %s\r\nFN组合键：%s %s\r\n"
                      : "\r\nTop layer Key: %s %s\r\nFn layer Key: %s %s\r\n",
                   typeName(0), doc.DescribeAssignment(key, 0), typeName(1), doc.DescribeAssignment(key, 1));
        break;
    }
    return text;
}

void COrvoDlg::beforePaint() {
    ConfigDocument& doc = context_.doc;
    for (SkinItem& item : mutableElements()) {
        if (item.id > 99 && item.keyNumber > 0 && item.keyNumber <= kKeyCount) {
            item.selected =
                doc.keyMode[static_cast<std::size_t>(2 * item.keyNumber + doc.currentLayer)] > 0 ? 1 : 0;
        }
    }
    const SkinItem* layer = element(kCmdLayer);
    const std::uint8_t fnShown = layer != nullptr ? layer->selected : 0;
    if (SkinItem* top = mutableElement(kLabelTopLayer)) {
        top->selected = fnShown != 0 ? 0 : 1;
    }
    if (SkinItem* fn = mutableElement(kLabelFnLayer)) {
        fn->selected = fnShown;
    }
}

void COrvoDlg::drawMarker(QPainter& painter, const SkinItem& item) const {
    const int mode =
        context_.doc.keyMode[static_cast<std::size_t>(2 * item.keyNumber + context_.doc.currentLayer)];
    if (mode <= 1 || mode >= kTypeCount) {
        return;
    }
    const float s = scale();
    const int w = Unscaled(item.rect.width(), s);
    const int inset = (w - 14) / 2;
    const int left = Unscaled(item.rect.left, s) + inset;
    const int right = Unscaled(item.rect.right, s) - inset;
    const int bottom = Unscaled(item.rect.bottom, s);
    painter.fillRect(QRect(QPoint(left, bottom - 4), QPoint(right - 1, bottom - 1)), modeColour(mode));
}

void COrvoDlg::paintElement(QPainter& painter, SkinItem& item) {
    SkinnedDialog::paintElement(painter, item);
    if (item.isLabel == 0 && item.keyNumber > 0 && item.keyNumber <= kKeyCount) {
        drawMarker(painter, item);
    }
}

void COrvoDlg::closeEvent(QCloseEvent* event) {
    if (closing_) {
        SkinnedDialog::closeEvent(event);
        return;
    }
    // Closed from outside (window manager, session end): ask as the exit command does.
    event->ignore();
    exitFlow();
}
