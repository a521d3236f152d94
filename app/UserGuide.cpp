#include "app/UserGuide.h"

#include "skin/AppResources.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kQueryTimeoutMs = 2000;

bool found(const char* program) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

// xdg-open hands HTML to the program the desktop names for it, or else to a
// browser it finds; with neither it fails after Qt has already said it
// started, so the desktop is asked first.
bool desktopHandlesHtml() {
    if (!found("xdg-open")) {
        return false;
    }
    if (!qEnvironmentVariableIsEmpty("BROWSER") || found("x-www-browser") || found("sensible-browser") ||
        found("firefox") || found("chromium")) {
        return true;
    }
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        if (query.error() != QProcess::Timedout) {
            return false;
        }
        // Cannot tell: let xdg-open try.
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return true;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QString FindUserGuide() {
    const QStringList candidates = AppResources::dataFileCandidates(QStringLiteral("Zarn.html"));
    const auto guide = std::find_if(candidates.begin(), candidates.end(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
    return guide == candidates.end() ? QString() : QFileInfo(*guide).absoluteFilePath();
}

QString UserGuideHome() {
    return AppResources::dataFileCandidates(QStringLiteral("Zarn.html")).back();
}

bool OpenWithDesktop(const QString& path) {
    return desktopHandlesHtml() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
