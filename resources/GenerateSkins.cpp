// Draws every bitmap of the interface from the element tables of the windows
// and writes them with the resource list that packs them:
//   zarn-skingen OUTPUT_DIR
// gives OUTPUT_DIR/N.png for every bitmap id, OUTPUT_DIR/icon/N.png for the
// program icon at 48, 128 and 256 pixels, and OUTPUT_DIR/ZarnRES.qrc.

#include "resources/PngWriter.h"
#include "resources/SkinFonts.h"
#include "resources/SkinImages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kIconSizes[] = {48, 128, 256};

bool writePng(const QImage& image, const QString& path) {
    if (!WriteUnfilteredPng(image, path)) {
        std::fprintf(stderr, "zarn-skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Rewritten only when the list changes, so rcc runs only when it must.
bool writeQrc(const QString& path, const std::vector<SkinJob>& jobs) {
    QString text;
    QTextStream out(&text);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/ZarnRES\">\n";
    for (const SkinJob& job : jobs) {
        out << "    <file>" << job.id << ".png</file>\n";
    }
    out << "    <file>icon/128.png</file>\n</qresource>\n</RCC>\n";
    out.flush();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && QString::fromUtf8(current.readAll()) == text) {
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(text.toUtf8());
    return file.commit();
}

// Qt wants a private runtime folder even offscreen; builds often run without
// a login session, so give it a temporary one instead of a warning.
class RuntimeDir {
public:
    RuntimeDir() {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            return;
        }
        std::string pattern = QDir::tempPath().toStdString() + "/zarn-skingen-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = QString::fromStdString(pattern);
            qputenv("XDG_RUNTIME_DIR", pattern.c_str());
        }
    }
    ~RuntimeDir() {
        if (!path_.isEmpty()) {
            QDir(path_).removeRecursively();
        }
    }
    RuntimeDir(const RuntimeDir&) = delete;
    RuntimeDir& operator=(const RuntimeDir&) = delete;

private:
    QString path_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const RuntimeDir runtime;
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarn-skingen OUTPUT_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("icon"))) {
        std::fprintf(stderr, "zarn-skingen: cannot create %s\n", argv[1]);
        return 1;
    }
    loadSkinFonts();

    const std::vector<SkinJob> jobs = SkinJobs();
    bool ok = true;
    for (const SkinJob& job : jobs) {
        ok = writePng(PaintSkin(job.request), dir.filePath(QStringLiteral("%1.png").arg(job.id))) && ok;
    }
    for (int pixels : kIconSizes) {
        ok = writePng(PaintAppIcon(pixels), dir.filePath(QStringLiteral("icon/%1.png").arg(pixels))) && ok;
    }
    if (!writeQrc(dir.filePath(QStringLiteral("ZarnRES.qrc")), jobs)) {
        std::fprintf(stderr, "zarn-skingen: cannot write the resource list\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
