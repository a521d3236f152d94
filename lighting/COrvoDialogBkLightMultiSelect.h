#pragma once

#include "model/ConfigDocument.h"
#include "skin/SkinnedDialog.h"

// Picks a group of keys on the keyboard picture and one colour for them.  It
// colours nothing itself: the document's lightSelected flags and pick colour
// tell the caller, and only an end with Accepted makes them valid.
class COrvoDialogBkLightMultiSelect : public SkinnedDialog {
    Q_OBJECT

public:
    explicit COrvoDialogBkLightMultiSelect(GuiContext& context, QWidget* parent = nullptr);

protected:
    void runCommand(int id) override;
    void paintElement(QPainter& painter, SkinItem& item) override;

private:
    void toggleKey(SkinItem& key);
    void chooseColour();

    KeyColours colours_{};
};

// The frame colour of an entry here: pure red is drawn a step off it.
QColor MultiSelectFrameColour(const Rgb& entry);
