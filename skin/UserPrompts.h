#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

enum class PromptButtons { Ok, YesNo };
enum class PromptIcon { None, Information, Exclamation, Warning, Question };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// How a file dialog is set up: the filter in the program's own notation
// ("pro(*.pro)|*.pro|All Files(*.*)|*.*||"), the extension appended to a name
// typed without one, and whether saving over a file asks first.
struct FileDialogRequest {
    QString filter;
    QString defaultExtension;
    bool overwritePrompt = true;
};

// One entry of a popup menu: a command, or a submenu when `items` is not empty.
struct PromptMenuItem {
    int command = 0;
    QString text;
    std::vector<PromptMenuItem> items;
};

// Every question the program puts to the user goes through this, so that
// tests answer it instead of a person.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    virtual PromptAnswer message(QWidget* parent, const QString& text, const QString& caption,
                                 PromptButtons buttons, PromptIcon icon) = 0;
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The colour chooser, starting from `initial`; nothing when cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
    // A popup menu at a screen position; the command chosen, nothing when the
    // menu is dismissed (or has no entries).
    virtual std::optional<int> popupMenu(QWidget* parent, const QPoint& screenPos,
                                         const std::vector<PromptMenuItem>& items) = 0;
};

// The program's filter notation in Qt's: "desc|pattern|desc|pattern||" becomes
// "desc (pattern);;desc (pattern)".  "*.*" means every file, also those
// without a dot, as it did on the system the notation comes from.
QString QtFileFilter(const QString& filter);
