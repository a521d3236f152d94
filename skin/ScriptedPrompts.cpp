#include "skin/ScriptedPrompts.h"

#include <QStringList>

QStringList ScriptedPrompts::texts() const {
    QStringList list;
    for (const Shown& s : shown_) {
        list << s.text;
    }
    return list;
}

void ScriptedPrompts::clear() {
    answers_.clear();
    files_.clear();
    colours_.clear();
    menuChoices_.clear();
    shown_.clear();
    filesAsked_.clear();
    coloursAsked_.clear();
    menusShown_.clear();
}

PromptAnswer ScriptedPrompts::message(QWidget*, const QString& text, const QString& caption,
                                      PromptButtons buttons, PromptIcon icon) {
    shown_.push_back({text, caption, buttons, icon});
    if (onMessage_) {
        onMessage_(shown_.back());
    }
    if (answers_.empty()) {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
    }
    const PromptAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::nextFileAnswer(bool save, const FileDialogRequest& request) {
    filesAsked_.push_back({save, request});
    if (files_.empty()) {
        return std::nullopt;
    }
    const FileAnswer answer = files_.front();
    files_.pop_front();
    if (!answer.chosen) {
        return std::nullopt;
    }
    return answer.path;
}

std::optional<QString> ScriptedPrompts::openFile(QWidget*, const FileDialogRequest& request) {
    return nextFileAnswer(false, request);
}

std::optional<QString> ScriptedPrompts::saveFile(QWidget*, const FileDialogRequest& request) {
    return nextFileAnswer(true, request);
}

std::optional<QColor> ScriptedPrompts::chooseColour(QWidget*, const QColor& initial) {
    coloursAsked_.push_back(initial);
    if (colours_.empty()) {
        return std::nullopt;
    }
    std::optional<QColor> colour = colours_.front();
    colours_.pop_front();
    return colour;
}

std::optional<int> ScriptedPrompts::popupMenu(QWidget*, const QPoint& screenPos,
                                              const std::vector<PromptMenuItem>& items) {
    menusShown_.push_back({screenPos, items});
    if (menuChoices_.empty()) {
        return std::nullopt;
    }
    const std::optional<int> choice = menuChoices_.front();
    menuChoices_.pop_front();
    return choice;
}
