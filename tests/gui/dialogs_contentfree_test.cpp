#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include "dialogs_script.h"
#include "ui/fileiconprovider.h"
#include "ui/picturedialog.h"
#include "ui/qtdialogs.h"

namespace {

class ContentFreeDialogsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { IsolateToolkitSettings(); }

    QString InFolder(const QString& name) const { return QDir(Folder.path()).filePath(name); }

    QTemporaryDir Folder;
};

// The list's types come from the names: a file whose name tells nothing is not opened to see.
// Every file dialog of the window lists through such a provider.
TEST_F(ContentFreeDialogsTest, FileTypesComeFromNamesAlone) {
    const QString disguised = InFolder("picture");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(disguised, "PNG"));
    const QString byExtension =
        QMimeDatabase().mimeTypeForFile(disguised, QMimeDatabase::MatchExtension).comment();
    ASSERT_NE(QFileIconProvider().type(QFileInfo(disguised)), byExtension)
        << "Qt's own provider no longer reads the content: this test shows nothing";
    EXPECT_EQ(TFileIconProvider().type(QFileInfo(disguised)), byExtension);

    TQtDialogs dialogs;
    int provided = 0;
    TModalScript script;
    for (int i = 0; i < 3; ++i) {
        script.Then(IsFileDialog, [&](QWidget* modal) {
            const auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dynamic_cast<const TFileIconProvider*>(dialog->iconProvider())) ++provided;
            PressCancel(modal);
        });
    }
    dialogs.OpenConfigFile(nullptr);
    dialogs.SaveConfigFile(nullptr);
    dialogs.SavePictureFile(nullptr);
    EXPECT_EQ(script.Failures(), QStringList());
    EXPECT_EQ(provided, 3);
}

// The preview reads a plain file only as far as a size a picture can have; a larger one shows
// nothing rather than being read.
TEST_F(ContentFreeDialogsTest, PreviewSkipsFilesBeyondItsSizeLimit) {
    const QString huge = InFolder("huge.bmp");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(huge, "BMP"));
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), off_t{65} << 20), 0);
    TSavePictureDialog dialog;
    emit dialog.currentChanged(huge);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("PictureLabel"))->text(), "Picture:");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("ImagePane"))->text(), "(None)");
}

}  // namespace
