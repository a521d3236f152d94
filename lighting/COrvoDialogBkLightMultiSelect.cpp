#include "lighting/COrvoDialogBkLightMultiSelect.h"

#include "app/elements/MultiSelectElements.h"
#include "lighting/KeyColourFrame.h"
#include "skin/UserPrompts.h"

QColor MultiSelectFrameColour(const Rgb& entry) {
    // Pure red is outlined one step off it, as this dialog always has; the
    // colour itself, and what the keyboard gets, stays pure red.
    if (entry == Rgb{255, 0, 0}) {
        return QColor(255, 1, 0);
    }
    return KeyFrameColour(entry);
}

COrvoDialogBkLightMultiSelect::COrvoDialogBkLightMultiSelect(GuiContext& context, QWidget* parent)
    : SkinnedDialog(context, parent) {
    setUpSkin(SkinWindow::MultiKeyColour);
    // Only Set Color ends with a colour: Enter asks for it, Esc cancels.
    setDialogKeys(DialogKey::runs(kMsCmdSetColour), DialogKey::runs(kMsCmdClose));
    colours_ = context.doc.lightWorkColours;
}

void COrvoDialogBkLightMultiSelect::runCommand(int id) {
    if (SkinItem* item = mutableElement(id); item != nullptr && item->keyNumber > 0) {
        toggleKey(*item);
        return;
    }
    if (id == kMsCmdClose) {
        done(QDialog::Rejected);
    } else if (id == kMsCmdSetColour) {
        chooseColour();
    }
}

void COrvoDialogBkLightMultiSelect::toggleKey(SkinItem& key) {
    if (key.keyNumber > kKeyCount) {
        return;
    }
    key.selected = key.selected != 0 ? 0 : 1;
    context_.doc.lightSelected[static_cast<std::size_t>(key.keyNumber)] = key.selected;
    invalidate(rect());
}

void COrvoDialogBkLightMultiSelect::chooseColour() {
    const std::optional<QColor> chosen = context_.prompts.chooseColour(this, QColor(0, 0, 0));
    if (!chosen) {
        return; // the selection stays for another try
    }
    ConfigDocument& doc = context_.doc;
    doc.pickRed = chosen->red();
    doc.pickGreen = chosen->green();
    doc.pickBlue = chosen->blue();
    done(QDialog::Accepted);
}

void COrvoDialogBkLightMultiSelect::paintElement(QPainter& painter, SkinItem& item) {
    if (item.keyNumber > 0 && item.keyNumber <= kKeyCount) {
        DrawKeyFrame(painter, item.rect, scale(),
                     MultiSelectFrameColour(colours_[static_cast<std::size_t>(item.keyNumber)]));
        // The hover image is the selected look here; the mouse alone changes nothing on a key.
        if (item.selected != 0) {
            overlay(painter, hoverImage(), item.rect);
        }
        return;
    }
    SkinnedDialog::paintElement(painter, item);
}
