#include <QFile>

#include "config/configfile.h"
#include "plot/exportpicture.h"
#include "ui/dialogs.h"
#include "ui/radiogroup.h"
#include "ui/unit1.h"

namespace {

std::string FileName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void TForm1::LoadCommand() {
    Handle([this] {
        const std::optional<QString> path = Dialogs.OpenConfigFile(this);
        if (!path) return;
        Rules.Load(FileName(*path));
    });
}

void TForm1::SaveCommand() {
    Handle([this] {
        const std::optional<QString> path = Dialogs.SaveConfigFile(this);
        if (!path) return;
        SaveConfiguration(FileName(*path), Model, RadioGroup1->ItemIndex());
    });
}

// The picture is drawn before the dialog opens, also when the user then cancels it.
void TForm1::ExportCommand() {
    Handle([this] {
        Model.EmitterType = RadioGroup1->ItemIndex();
        TExportPicture& picture = Image1->Picture();
        const long double elevation = ElevationDegrees();
        ShowLabels(picture.Draw(Model, Rules.ComputeDiagram(elevation), elevation));
        const std::optional<QString> path = Dialogs.SavePictureFile(this);
        if (!path) return;
        picture.Save(FileName(*path));
    });
}
