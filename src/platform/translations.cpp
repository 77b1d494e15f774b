#include "platform/translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orven {

bool installRussianTranslations(QApplication& app) {
    // Installed once per application object.
    if (app.findChild<QTranslator*>(QStringLiteral("orvenRussianTranslations")) != nullptr)
        return true;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(QStringLiteral("orvenRussianTranslations"));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

} // namespace orven
