#pragma once

#include "skin/SkinnedDialog.h"

class QLineEdit;

// The on-screen keyboard: picks one key for a Single assignment (pickMode 1)
// or up to six for a Combo (pickMode 2) with the mouse, for keys the user
// cannot or would rather not type.  The pick travels through the document:
// pickedCode in mode 1 (the caller puts the current key's device code there
// first, -1 for none; 0 after OK means no key), pickedComboCodes and
// pickedComboCount in mode 2, in picking order.  exec() returns kOk or
// kCancel; after kCancel the fields mean nothing.
class OrvoDialogVirtual : public SkinnedDialog {
    Q_OBJECT

public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kMaxComboKeys = 6;

    explicit OrvoDialogVirtual(GuiContext& context, QWidget* parent = nullptr);

    // 1 single key, 2 combo; set after construction, before the modal run.
    int pickMode = 1;

    QLineEdit* display() const { return display_; }

protected:
    void runCommand(int id) override;
    bool takesDoubleClicks() const override { return pickMode == 1; }
    void doubleClicked(int id) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void startPick();
    void toggleSingle(SkinItem& key);
    void toggleCombo(SkinItem& key);
    void showPick();
    QString pickText() const;
    SkinItem* firstKeyWithCode(int code);

    QLineEdit* display_ = nullptr;
};
