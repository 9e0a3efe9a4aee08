#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;
class QTranslator;

// The folder where Qt keeps its own translations (Debian's qt6-translations-l10n).
QString ToolkitTranslationsFolder();

// Installs Qt's own translation for the locale's languages, so that Qt's dialogs, buttons and
// column heads speak the user's language; the program's own texts are not translated. Returns
// the installed translator, owned by the application, or nullptr when the locale has none.
QTranslator* InstallToolkitTranslations(QCoreApplication& app, const QLocale& locale = QLocale());
