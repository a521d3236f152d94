#include "keyeditor/OrvoDialogVirtual.h"

#include "app/elements/VirtualKeyElements.h"
#include "model/ConfigDocument.h"

#include <QLineEdit>
#include <QShowEvent>

#include <algorithm>

namespace {

bool isKey(int id) {
    return id >= kVkFirstKeyId && id <= kVkLastKeyId;
}

} // namespace

OrvoDialogVirtual::OrvoDialogVirtual(GuiContext& context, QWidget* parent) : SkinnedDialog(context, parent) {
    setUpSkin(SkinWindow::VirtualKey);
    // OK and Cancel carry their captions as labels over the buttons; a click
    // on the caption is a click on the button.
    setClickRules({.labelsHit = true, .dropIntervalMs = context.clicks.virtualKeyDropMs});
    setDialogKeys(DialogKey::runs(kVkCmdOk), DialogKey::runs(kVkCmdCancel));

    display_ = new QLineEdit(this);
    display_->setObjectName(QStringLiteral("displayEdit"));
    // Read-only also keeps the caret away when the display has the focus:
    // there is nothing to type into it.
    display_->setReadOnly(true);
    display_->setFrame(false);
    const SkinRect& r = kVirtualKeyDisplayRect;
    place(display_, ControlPlace{r.left, r.top, r.width(), r.height()});
    styleEdit(display_, kVirtualKeyDisplayFontIndex);
}

void OrvoDialogVirtual::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    // pickMode is only known once the caller runs the dialog; a run starts
    // from the document's fields, whatever an earlier run left selected.
    if (!event->spontaneous()) {
        startPick();
    }
}

void OrvoDialogVirtual::startPick() {
    for (SkinItem& item : mutableElements()) {
        if (isKey(item.id)) {
            item.selected = 0;
        }
    }
    ConfigDocument& doc = context_.doc;
    if (pickMode == 1) {
        if (SkinItem* key = firstKeyWithCode(doc.pickedCode)) {
            key->selected = 1;
        }
    } else if (pickMode == 2) {
        doc.pickedComboCodes.fill(0);
        doc.pickedComboCount = 0;
    }
    showPick();
    update();
}

SkinItem* OrvoDialogVirtual::firstKeyWithCode(int code) {
    for (SkinItem& item : mutableElements()) {
        if (isKey(item.id) && item.keyNumber == code) {
            return &item;
        }
    }
    return nullptr;
}

void OrvoDialogVirtual::runCommand(int id) {
    if (isKey(id)) {
        SkinItem* key = mutableElement(id);
        if (pickMode == 1) {
            toggleSingle(*key);
        } else if (pickMode == 2) {
            toggleCombo(*key);
        } else {
            key->selected ^= 1;
        }
        showPick();
        update();
        return;
    }
    switch (id) {
    case kVkCmdClose:
    case kVkCmdCancel:
        done(kCancel);
        break;
    case kVkCmdOk:
        done(kOk);
        break;
    default:
        break;
    }
}

void OrvoDialogVirtual::toggleSingle(SkinItem& key) {
    ConfigDocument& doc = context_.doc;
    key.selected ^= 1;
    // Clicking the picked key itself lands here too and leaves nothing picked.
    if (SkinItem* previous = firstKeyWithCode(doc.pickedCode)) {
        previous->selected = 0;
    }
    doc.pickedCode = key.selected != 0 ? key.keyNumber : 0;
}

void OrvoDialogVirtual::toggleCombo(SkinItem& key) {
    ConfigDocument& doc = context_.doc;
    auto& codes = doc.pickedComboCodes;
    const int count = std::clamp(doc.pickedComboCount, 0, kMaxComboKeys);
    if (key.selected != 0) {
        key.selected = 0;
        const auto end = codes.begin() + count;
        const auto found = std::find(codes.begin(), end, key.keyNumber);
        if (found != end) {
            // The later keys move up, so the combo keeps its picking order.
            std::copy(found + 1, codes.end(), found);
            codes.back() = 0;
            doc.pickedComboCount = count - 1;
        }
        return;
    }
    if (count >= kMaxComboKeys) {
        return; // a seventh key is refused: it stays unselected
    }
    key.selected = 1;
    codes[static_cast<std::size_t>(count)] = key.keyNumber;
    doc.pickedComboCount = count + 1;
}

void OrvoDialogVirtual::doubleClicked(int id) {
    // Only a double click on a key picks and ends; elsewhere it does nothing.
    if (!isKey(id)) {
        return;
    }
    context_.doc.pickedCode = element(id)->keyNumber;
    done(kOk);
}

void OrvoDialogVirtual::reject() {
    // Closed by the window manager: as Cancel, whose result the caller knows.
    done(kCancel);
}

QString OrvoDialogVirtual::pickText() const {
    const ConfigDocument& doc = context_.doc;
    const auto name = [&doc](int code) {
        return QString::fromStdString(doc.DeviceCodeName(code));
    };
    if (pickMode == 1) {
        const QString format = byLanguage("单键：%1", "Single:%1");
        return format.isEmpty() ? QString() : format.arg(name(doc.pickedCode));
    }
    if (pickMode != 2) {
        return {};
    }
    const QString format = byLanguage("组合键：%1", "Combo:%1");
    if (format.isEmpty()) {
        return {};
    }
    // Nothing picked still names the first place: code 0, "-- --".
    QString keys = name(doc.pickedComboCodes[0]);
    const int count = std::clamp(doc.pickedComboCount, 0, kMaxComboKeys);
    for (int i = 1; i < count; ++i) {
        keys += QLatin1Char('+') + name(doc.pickedComboCodes[static_cast<std::size_t>(i)]);
    }
    return format.arg(keys);
}

void OrvoDialogVirtual::showPick() {
    const QString text = pickText();
    if (display_->text() != text) {
        display_->setText(text);
    }
}
