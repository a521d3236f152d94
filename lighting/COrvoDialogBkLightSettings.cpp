#include "lighting/COrvoDialogBkLightSettings.h"

#include "app/elements/BkLightElements.h"
#include "lighting/COrvoDialogBkLightMultiSelect.h"
#include "lighting/KeyColourFrame.h"
#include "skin/UserPrompts.h"

namespace {

constexpr int kWriteLights = 4;
constexpr int kReadLights = 6;

Rgb toRgb(const QColor& colour) {
    return {colour.red(), colour.green(), colour.blue()};
}

bool sameRgb(const QColor& a, const QColor& b) {
    return a.red() == b.red() && a.green() == b.green() && a.blue() == b.blue();
}

} // namespace

COrvoDialogBkLightSettings::COrvoDialogBkLightSettings(GuiContext& context, QWidget* parent)
    : SkinnedDialog(context, parent) {
    setUpSkin(SkinWindow::Backlight);
    // Enter confirms as the OK button does, edits included; Esc is Cancel.
    setDialogKeys(DialogKey::runs(kBlCmdOk), DialogKey::runs(kBlCmdCancel));
    working_ = context.doc.keyColours;
}

void COrvoDialogBkLightSettings::runCommand(int id) {
    if (const SkinItem* item = element(id); item != nullptr && item->keyNumber > 0) {
        chooseKeyColour(item->keyNumber);
        return;
    }
    switch (id) {
    case kBlCmdClose:
    case kBlCmdCancel:
        done(QDialog::Rejected);
        break;
    case kBlCmdRead:
        readFromKeyboard();
        break;
    case kBlCmdDefault:
        working_.fill(Rgb{0, 0, 0});
        repaintAll();
        break;
    case kBlCmdWrite:
        writeToKeyboard();
        break;
    case kBlCmdOk:
        context_.doc.keyColours = working_;
        done(QDialog::Accepted);
        break;
    case kBlCmdSetAll:
        setAll();
        break;
    case kBlCmdMultiKey:
        multiKey();
        break;
    default:
        break;
    }
}

void COrvoDialogBkLightSettings::chooseKeyColour(int keyNumber) {
    if (keyNumber > kKeyCount) {
        return;
    }
    Rgb& entry = working_[static_cast<std::size_t>(keyNumber)];
    const QColor initial = KeyFrameColour(entry);
    const std::optional<QColor> chosen = context_.prompts.chooseColour(this, initial);
    if (!chosen || sameRgb(*chosen, initial)) {
        return;
    }
    entry = toRgb(*chosen);
    repaintAll();
}

void COrvoDialogBkLightSettings::readFromKeyboard() {
    // The progress dialog commits a read to the document only when it
    // succeeded; the working copy follows it only then.
    const ProgressOutcome outcome = runDeviceOperation(kReadLights, {});
    if (outcome == ProgressOutcome::Finished) {
        working_ = context_.doc.keyColours;
    }
    repaintAll();
    tell(outcome);
}

void COrvoDialogBkLightSettings::writeToKeyboard() {
    context_.doc.keyColours = working_;
    tell(runDeviceOperation(kWriteLights, {}));
    done(QDialog::Accepted);
}

void COrvoDialogBkLightSettings::setAll() {
    const std::optional<QColor> chosen = context_.prompts.chooseColour(this, QColor(0, 0, 0));
    if (!chosen) {
        return;
    }
    // Black too: Set All with black is how the user turns every key off.
    working_.fill(toRgb(*chosen));
    repaintAll();
}

void COrvoDialogBkLightSettings::multiKey() {
    ConfigDocument& doc = context_.doc;
    doc.lightSelected.fill(0);
    doc.lightWorkColours = working_;
    COrvoDialogBkLightMultiSelect dialog(context_, this);
    if (dialog.exec() == QDialog::Accepted) {
        const Rgb pick{doc.pickRed, doc.pickGreen, doc.pickBlue};
        for (std::size_t key = 0; key < working_.size(); ++key) {
            if (doc.lightSelected[key] != 0) {
                working_[key] = pick;
            }
        }
    }
    repaintAll();
}

void COrvoDialogBkLightSettings::tell(ProgressOutcome outcome) {
    // A failed or cancelled transfer is no success, whatever the progress dialog's own result.
    const bool ok = outcome == ProgressOutcome::Finished;
    context_.prompts.message(this, ok ? QStringLiteral("OK!") : QStringLiteral("Failed!"), modelCaption(),
                             PromptButtons::Ok, ok ? PromptIcon::None : PromptIcon::Warning);
}

void COrvoDialogBkLightSettings::repaintAll() {
    invalidate(rect());
}

void COrvoDialogBkLightSettings::paintElement(QPainter& painter, SkinItem& item) {
    if (item.keyNumber > 0 && item.keyNumber <= kKeyCount) {
        // Keys show their colour and nothing else: no hover over the picture.
        DrawKeyFrame(painter, item.rect, scale(),
                     KeyFrameColour(working_[static_cast<std::size_t>(item.keyNumber)]));
        return;
    }
    SkinnedDialog::paintElement(painter, item);
}

int RunBkLightSettings(GuiContext& context, QWidget* parent) {
    COrvoDialogBkLightSettings dialog(context, parent);
    return dialog.exec();
}
