#include <QApplication>

#include "config/numtext.h"
#include "ui/qtdialogs.h"
#include "ui/toolkittranslations.h"
#include "ui/unit1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetDecimalMark(LocaleDecimalMark());
    InstallToolkitTranslations(app);
    TQtDialogs dialogs;
    TForm1 form(dialogs);
    form.show();
    return app.exec();
}
