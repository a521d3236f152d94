#pragma once

#include <QFont>

// Loads the bundled DejaVu faces so the images look the same on every build
// machine, whatever fontconfig would pick.  Call once after the application
// object exists.
void loadSkinFonts();

// The skin face at a pixel size.
QFont skinFont(int pixels, bool bold);
