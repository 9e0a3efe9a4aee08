#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QTemporaryDir>

#include "form_fixture.h"
#include "plot/exportpicture.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/speedbutton.h"
#include "ui/statictext.h"

namespace {

class FormCommandTest : public FormTest {
  protected:
    QString PathOf(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    std::string FileOf(const char* name) const { return PathOf(name).toStdString(); }

    QTemporaryDir Dir;
};

}  // namespace

TEST_F(FormCommandTest, SavedConfigurationLoadsBackIntoTableGridAndControls) {
    ClickArrow(Form->UpDown1, +1);
    ClickCentre(Form->CheckBox2);
    ClickCentre(Form->RadioGroup1->Button(3));
    const TArrayModel saved = Form->Model;

    Dialogs.SaveReplies.push_back(PathOf("round.txt"));
    ClickCentre(Form->StaticText9);
    ASSERT_TRUE(QFileInfo::exists(PathOf("round.txt")));

    ClickArrow(Form->UpDown1, +1);
    ClickCentre(Form->CheckBox2);
    ClickCentre(Form->RadioGroup1->Button(0));
    ClickCentre(Form->CheckBox9);

    Dialogs.OpenReplies.push_back(PathOf("round.txt"));
    ClickCentre(Form->StaticText7);
    for (int k = 1; k <= 8; ++k) {
        const TEmitter& e = Form->Model.Emitter(k);
        EXPECT_EQ(e.Enabled, saved.Emitter(k).Enabled) << k;
        EXPECT_EQ(Form->EmitterBox(k)->isChecked(), e.Enabled) << k;
        EXPECT_EQ(e.X, static_cast<long double>(static_cast<double>(saved.Emitter(k).X))) << k;
        EXPECT_EQ(CellText(1, k), FormatGeneral(e.X)) << k;
        EXPECT_EQ(CellText(3, k), FormatGeneral(e.Phase)) << k;
    }
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 3);
    EXPECT_EQ(Form->Model.EmitterType, etHorizontalDipoleWE);
    // The spins show the edited emitter as loaded, not their positions from before the load.
    EXPECT_EQ(Form->UpDown1->Position(), 17);
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 0);
}

TEST_F(FormCommandTest, CancelledDialogsChangeNothing) {
    ClickCentre(Form->SpeedButton4);
    ClickCentre(Form->SpeedButton5);
    ClickCentre(Form->StaticText8);
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::OpenConfig), 1);
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::SaveConfig), 1);
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::SavePicture), 1);
    EXPECT_EQ(Form->RedrawCount, 0);
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
    EXPECT_TRUE(Form->Image1->isHidden());
}

TEST_F(FormCommandTest, ExportDrawsThePictureFirstAndWritesTheChosenFile) {
    bool drawnBeforeDialog = false;
    Dialogs.WhileModal = [&] {
        drawnBeforeDialog = Form->Image1->Picture().Pixel(640 + 8, 240) != TColor{255, 255, 255};
    };
    Dialogs.PictureReplies.push_back(PathOf("diagram.bmp"));
    ClickCentre(Form->SpeedButton6);
    EXPECT_TRUE(drawnBeforeDialog);
    EXPECT_EQ(QFileInfo(PathOf("diagram.bmp")).size(), 3097654);
    EXPECT_TRUE(Form->Image1->isHidden());
    EXPECT_EQ(Form->Label5->Text().toStdString(), "45");
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 0);
}

TEST_F(FormCommandTest, FailingCommandsShowTheErrorBoxAndTheWindowGoesOn) {
    const QString missing = PathOf("no such folder/setup.txt");
    Dialogs.SaveReplies.push_back(missing);
    ClickCentre(Form->SpeedButton5);
    ASSERT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 1);
    EXPECT_EQ(Dialogs.Calls.back().Title, QCoreApplication::applicationName());
    EXPECT_EQ(Dialogs.Calls.back().Text, "Unable to write to " + missing + ".");

    Dialogs.PictureReplies.push_back(PathOf("no such folder/diagram.bmp"));
    ClickCentre(Form->SpeedButton6);
    ASSERT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 2);
    EXPECT_TRUE(Dialogs.Calls.back().Text.startsWith("Cannot create file \""));

    QFile overflow(PathOf("overflow.txt"));
    ASSERT_TRUE(overflow.open(QIODevice::WriteOnly));
    overflow.write(QByteArray("[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 1]\r\nX=1E400\r\n"));
    overflow.close();
    Dialogs.OpenReplies.push_back(PathOf("overflow.txt"));
    ClickCentre(Form->SpeedButton4);
    ASSERT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 3);
    EXPECT_EQ(Dialogs.Calls.back().Text.toStdString(), "Floating point overflow.");

    ClickArrow(Form->UpDown1, +1);
    EXPECT_EQ(CellText(1, 1), "0,265625");
}
