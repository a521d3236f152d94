#pragma once

#include "model/ConfigDocument.h"
#include "skin/DeviceOperation.h"
#include "skin/SkinnedDialog.h"

// Colours the keyboard's per-key backlight on a working copy of the
// document's colours: one key, all keys or a group of keys (through the
// multi-key dialog), read from and written to the keyboard.  The document
// changes through OK, Write and a successful Read only.
class COrvoDialogBkLightSettings : public SkinnedDialog {
    Q_OBJECT

public:
    explicit COrvoDialogBkLightSettings(GuiContext& context, QWidget* parent = nullptr);

    const KeyColours& workingColours() const { return working_; }

protected:
    void runCommand(int id) override;
    void paintElement(QPainter& painter, SkinItem& item) override;

private:
    void chooseKeyColour(int keyNumber);
    void readFromKeyboard();
    void writeToKeyboard();
    void setAll();
    void multiKey();
    void tell(ProgressOutcome outcome);
    void repaintAll();

    KeyColours working_{};
};

// The dialog run modally over `parent`: what the main window opens.
int RunBkLightSettings(GuiContext& context, QWidget* parent);
