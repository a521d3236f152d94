#pragma once

#include "skin/UserPrompts.h"

// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QMenu.
class QtUserPrompts : public UserPrompts {
public:
    PromptAnswer message(QWidget* parent, const QString& text, const QString& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
    std::optional<int> popupMenu(QWidget* parent, const QPoint& screenPos,
                                 const std::vector<PromptMenuItem>& items) override;
};
