#pragma once

#include "skin/UserPrompts.h"

#include <QString>

#include <functional>

class QWidget;

// How a device operation run through the progress dialog ended.
enum class ProgressOutcome {
    Finished,
    Failed,    // the operation ran but the keyboard did not do it
    Cancelled, // the user closed the dialog; the operation may still run on
};

// Runs device operation `operationCode` (1 write keys, 3 read keys and then
// colours, 4 write colours, 5 read counters, 6 read colours) modally over
// `parent` and says how it ended.  The progress dialog is behind it in the
// program, so a dialog needs neither the main window nor the firmware folder.
using DeviceOperationRunner = std::function<ProgressOutcome(QWidget* parent, int operationCode)>;

// What the user is told after an operation, by outcome; an empty text says nothing.
struct OperationMessage {
    QString text;
    PromptIcon icon = PromptIcon::None;
};
struct OperationMessages {
    OperationMessage finished;
    OperationMessage failed;
    OperationMessage cancelled;
};
