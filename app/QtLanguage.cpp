#include "app/QtLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The translator lives as a child of the application, so it goes with it.
constexpr const char* kTranslatorName = "zarn-qt-translations";

QTranslator* translator() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return nullptr;
    }
    auto* existing = application->findChild<QTranslator*>(QString::fromLatin1(kTranslatorName),
                                                          Qt::FindDirectChildrenOnly);
    if (existing != nullptr) {
        return existing;
    }
    auto* made = new QTranslator(application);
    made->setObjectName(QString::fromLatin1(kTranslatorName));
    return made;
}

} // namespace

bool FollowInterfaceLanguage(const std::string& uiLanguage) {
    QTranslator* qt = translator();
    if (qt == nullptr) {
        return false;
    }
    QCoreApplication::removeTranslator(qt);
    if (uiLanguage != "zh-CN") {
        return true;
    }
    if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}
