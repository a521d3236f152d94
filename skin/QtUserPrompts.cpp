#include "skin/QtUserPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QtFileFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.overwritePrompt) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void addMenuItems(QMenu& menu, const std::vector<PromptMenuItem>& items) {
    for (const PromptMenuItem& item : items) {
        if (item.items.empty()) {
            menu.addAction(item.text)->setData(item.command);
        } else {
            addMenuItems(*menu.addMenu(item.text), item.items);
        }
    }
}

} // namespace

PromptAnswer QtUserPrompts::message(QWidget* parent, const QString& text, const QString& caption,
                                    PromptButtons buttons, PromptIcon icon) {
    // The program's texts end lines with "\r\n"; a label would show the carriage return.
    QString shown = text;
    shown.remove(u'\r');
    QMessageBox box(boxIcon(icon), caption, shown,
                    buttons == PromptButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    parent);
    const int answer = box.exec();
    switch (answer) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        return PromptAnswer::Cancel;
    }
}

std::optional<QString> QtUserPrompts::openFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtUserPrompts::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtUserPrompts::chooseColour(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    // Qt's own chooser always shows the custom colours and the full editor,
    // which a desktop's native chooser may fold away.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

std::optional<int> QtUserPrompts::popupMenu(QWidget* parent, const QPoint& screenPos,
                                            const std::vector<PromptMenuItem>& items) {
    if (items.empty()) {
        return std::nullopt;
    }
    QMenu menu(parent);
    addMenuItems(menu, items);
    const QAction* chosen = menu.exec(screenPos);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return chosen->data().toInt();
}
