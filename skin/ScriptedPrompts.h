#pragma once

#include "skin/UserPrompts.h"

#include <deque>
#include <functional>
#include <vector>

// Answers the program's questions from queues filled beforehand and keeps a
// record of every message shown; for tests and benchmarks, never a person.
// An empty queue answers No (or Cancel, or dismisses), as a user closing the box would.
class ScriptedPrompts : public UserPrompts {
public:
    struct Shown {
        QString text;
        QString caption;
        PromptButtons buttons;
        PromptIcon icon;
    };
    struct FileAsked {
        bool save;
        FileDialogRequest request;
    };
    struct MenuShown {
        QPoint at;
        std::vector<PromptMenuItem> items;
    };

    void nextAnswer(PromptAnswer answer) { answers_.push_back(answer); }
    void nextFile(const std::optional<QString>& path) {
        files_.push_back({path.has_value(), path.value_or(QString())});
    }
    void nextColour(std::optional<QColor> colour) { colours_.push_back(colour); }
    // The command the next popup menu answers with; nothing dismisses it.
    void nextMenuChoice(std::optional<int> command) { menuChoices_.push_back(command); }
    // Runs when a message is shown, before it is answered (a test may look at the window then).
    void onMessage(std::function<void(const Shown&)> hook) { onMessage_ = std::move(hook); }

    const std::vector<Shown>& shown() const { return shown_; }
    const std::vector<FileAsked>& filesAsked() const { return filesAsked_; }
    // The initial colour of every colour chooser opened.
    const std::vector<QColor>& coloursAsked() const { return coloursAsked_; }
    const std::vector<MenuShown>& menusShown() const { return menusShown_; }
    QStringList texts() const;
    void clear();

    PromptAnswer message(QWidget* parent, const QString& text, const QString& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
    std::optional<int> popupMenu(QWidget* parent, const QPoint& screenPos,
                                 const std::vector<PromptMenuItem>& items) override;

private:
    std::optional<QString> nextFileAnswer(bool save, const FileDialogRequest& request);

    std::deque<PromptAnswer> answers_;
    struct FileAnswer {
        bool chosen;
        QString path;
    };
    std::deque<FileAnswer> files_;
    std::deque<std::optional<QColor>> colours_;
    std::deque<std::optional<int>> menuChoices_;
    std::vector<Shown> shown_;
    std::vector<FileAsked> filesAsked_;
    std::vector<QColor> coloursAsked_;
    std::vector<MenuShown> menusShown_;
    std::function<void(const Shown&)> onMessage_;
};
