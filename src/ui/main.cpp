#include <QApplication>

#include "config/numtext.h"
#include "ui/qtdialogs.h"
#include "plot/qt/toolkittranslations.h"
#include "ui/unit1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Ties the window to its desktop entry, so that panels show the entry's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(ARRAYPATTERN_APP_ID));
    SetDecimalMark(LocaleDecimalMark());
    InstallToolkitTranslations(app);
    TQtDialogs dialogs;
    TForm1 form(dialogs);
    form.show();
    return app.exec();
}
