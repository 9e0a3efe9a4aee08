#include "plot/qt/toolkittranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString ToolkitTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QTranslator* InstallToolkitTranslations(QCoreApplication& app, const QLocale& locale) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          ToolkitTranslationsFolder()) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
