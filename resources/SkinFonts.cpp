#include "resources/SkinFonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace {

QString gFamily = QStringLiteral("DejaVu Sans");

// Where Debian's fonts-dejavu-core puts the faces.
const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

} // namespace

void loadSkinFonts() {
    for (const char* file : kFontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id >= 0) {
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) {
                gFamily = families.front();
            }
        }
    }
}

QFont skinFont(int pixels, bool bold) {
    QFont font(gFamily);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
