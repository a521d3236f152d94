#pragma once

#include <QString>

// The user guide Zarn.html: beside the program, or in the installed data
// folder.  Empty when neither has it.
QString FindUserGuide();
// Where the guide belongs when it is missing: the installed data folder.
QString UserGuideHome();

// Opens a local HTML file with the desktop's handler; false when the desktop
// has none (no xdg-open, no program named for HTML and no browser at hand),
// so that the user can be told where the file is instead.
bool OpenWithDesktop(const QString& path);
