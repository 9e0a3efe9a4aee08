#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

#include "dialogs_script.h"
#include "ui/picturedialog.h"
#include "ui/qtdialogs.h"

namespace {

struct TPane {
    QString Label;
    QString Text;
    QSize Shown;  // pixels of the picture in the pane; empty when none
    bool PreviewEnabled = false;
};

TPane ReadPane(QWidget* dialog) {
    const auto* image = dialog->findChild<QLabel*>(QStringLiteral("ImagePane"));
    return {dialog->findChild<QLabel*>(QStringLiteral("PictureLabel"))->text(), image->text(),
            image->pixmap().size(),
            dialog->findChild<QToolButton*>(QStringLiteral("PreviewButton"))->isEnabled()};
}

QSize PaneRoom(QWidget* dialog) {
    return dialog->findChild<QLabel*>(QStringLiteral("ImagePane"))->contentsRect().size();
}

class PictureDialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { IsolateToolkitSettings(); }

    void SetUp() override {
        SavePicture("diagram.bmp", QSize(300, 200), "BMP");
        SavePicture("small.bmp", QSize(20, 10), "BMP");
        SavePicture("photo.bmp", QSize(90, 120), "PNG");
        QFile notes(InFolder("notes.bmp"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("not a picture\n");
    }

    QString InFolder(const QString& name) const { return QDir(Folder.path()).filePath(name); }

    void SavePicture(const QString& name, QSize size, const char* format) const {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(InFolder(name), format));
    }

    // A step that takes the dialog to the folder before `look` works in it.
    TModalScript::TAct WorkInFolder(std::function<void(QWidget*)> look) const {
        return [this, look](QWidget* modal) {
            qobject_cast<QFileDialog*>(modal)->setDirectory(Folder.path());
            look(modal);
        };
    }

    QTemporaryDir Folder;
    TQtDialogs Dialogs;
};

TEST_F(PictureDialogTest, PaneFollowsTheClickedFile) {
    const QString none = QStringLiteral("(None)");
    const struct {
        const char* File;
        const char* Label;
        QString Text;
        QSize Picture;  // before fitting; 0 x 0 when the file holds none
    } cases[] = {
        {"diagram.bmp", " (300x200)", "", QSize(300, 200)},
        {"notes.bmp", "Picture:", none, QSize(0, 0)},
        {"small.bmp", " (20x10)", "", QSize(20, 10)},
        {"photo.bmp", " (90x120)", "", QSize(90, 120)},
        {"notes.bmp", "Picture:", none, QSize(0, 0)},
    };
    std::vector<TPane> seen;
    QSize room;
    TModalScript script;
    script.Then(IsFileDialog, WorkInFolder([&](QWidget* dialog) {
                    const TPane initial = ReadPane(dialog);
                    EXPECT_EQ(initial.Label, "Picture:");
                    EXPECT_EQ(initial.Text, none);
                    EXPECT_FALSE(initial.PreviewEnabled);
                    room = PaneRoom(dialog);
                    for (const auto& c : cases) {
                        EXPECT_TRUE(ClickFileInList(dialog, InFolder(c.File))) << c.File;
                        seen.push_back(ReadPane(dialog));
                    }
                    PressCancel(dialog);
                }));

    EXPECT_EQ(Dialogs.SavePictureFile(nullptr), std::nullopt);
    EXPECT_EQ(script.Failures(), QStringList());
    ASSERT_EQ(seen.size(), std::size(cases));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.File);
        EXPECT_EQ(seen[i].Label, c.Label);
        EXPECT_EQ(seen[i].Text, c.Text);
        EXPECT_EQ(seen[i].PreviewEnabled, !c.Picture.isEmpty());
        const bool fits = c.Picture.width() <= room.width() && c.Picture.height() <= room.height();
        const QSize expected = fits ? c.Picture : c.Picture.scaled(room, Qt::KeepAspectRatio);
        EXPECT_EQ(seen[i].Shown, expected) << "shrunk to the pane, its shape kept";
    }
}

// Qt marks the proposed name in the list late or never; the pane must not wait for a click.
TEST_F(PictureDialogTest, PaneShowsTheProposedFileWhenTheDialogOpens) {
    const QString none = QStringLiteral("(None)");
    const struct {
        const char* Proposed;
        const char* Label;
        QString Text;
        bool Picture;
    } cases[] = {
        {"diagram.bmp", " (300x200)", "", true},
        {"missing.bmp", "Picture:", none, false},
        {"small.bmp", " (20x10)", "", true},
        {"notes.bmp", "Picture:", none, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Proposed);
        TQtDialogs dialogs;
        TPane opened;
        TModalScript script;
        script.Then(IsFileDialog,
                    [&](QWidget* dialog) { TypeAndConfirm(dialog, InFolder(c.Proposed)); });
        script.Then(IsFileDialog, [&](QWidget* dialog) {
            opened = ReadPane(dialog);
            PressCancel(dialog);
        });
        EXPECT_EQ(dialogs.SavePictureFile(nullptr), InFolder(c.Proposed));
        EXPECT_EQ(dialogs.SavePictureFile(nullptr), std::nullopt);
        EXPECT_EQ(script.Failures(), QStringList());
        EXPECT_EQ(opened.Label, c.Label);
        EXPECT_EQ(opened.Text, c.Text);
        EXPECT_EQ(opened.PreviewEnabled, c.Picture);
        EXPECT_EQ(opened.Shown.isEmpty(), !c.Picture);
    }
}

TEST_F(PictureDialogTest, PreviewButtonOpensAWindowThatEscapeCloses) {
    QString title;
    QSize shown;
    bool previewGone = false;
    TModalScript script;
    script.Then(IsFileDialog, WorkInFolder([&](QWidget* dialog) {
                    ASSERT_TRUE(ClickFileInList(dialog, InFolder("diagram.bmp")));
                    auto* button = dialog->findChild<QToolButton*>(QStringLiteral("PreviewButton"));
                    EXPECT_EQ(button->toolTip(), "Preview");
                    QTimer::singleShot(0, button,
                                       [button] { QTest::mouseClick(button, Qt::LeftButton); });
                }));
    script.Then([](QWidget* modal) { return modal->windowTitle() == "Preview"; },
                [&](QWidget* preview) {
                    title = preview->windowTitle();
                    for (const QLabel* label : preview->findChildren<QLabel*>()) {
                        shown = shown.expandedTo(label->pixmap().size());
                    }
                    QTest::keyClick(preview, Qt::Key_Escape);
                });
    script.Then(IsFileDialog, [&](QWidget* dialog) {
        previewGone = true;
        PressCancel(dialog);
    });

    EXPECT_EQ(Dialogs.SavePictureFile(nullptr), std::nullopt);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.Failures(), QStringList());
    EXPECT_EQ(title, "Preview");
    EXPECT_EQ(shown, QSize(300, 200)) << "the preview shows the picture at its own size";
    EXPECT_TRUE(previewGone);
}

// Opening a pipe for reading waits for a writer: the pane must not read what is no plain file.
TEST_F(PictureDialogTest, PaneShowsNothingForAPipeAndDoesNotWaitOnIt) {
    const QString pipe = InFolder("pipe.bmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    TSavePictureDialog dialog;
    emit dialog.currentChanged(InFolder("diagram.bmp"));
    emit dialog.currentChanged(pipe);
    const TPane pane = ReadPane(&dialog);
    EXPECT_EQ(pane.Label, "Picture:");
    EXPECT_EQ(pane.Text, "(None)");
    EXPECT_TRUE(pane.Shown.isEmpty());
    EXPECT_FALSE(pane.PreviewEnabled);
}

}  // namespace
