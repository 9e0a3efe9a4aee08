#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "dialogs_script.h"
#include "ui/qtdialogs.h"

namespace {

struct TFileDialogKind {
    const char* Name;
    std::function<std::optional<QString>(TQtDialogs&)> Run;
    QString Filter;
    QString Extension;
    QFileDialog::AcceptMode Mode;
};

const std::vector<TFileDialogKind> kKinds = {
    {"OpenDialog1", [](TQtDialogs& d) { return d.OpenConfigFile(nullptr); },
     QStringLiteral("Текстовые файлы (*.txt)"), "txt", QFileDialog::AcceptOpen},
    {"SaveDialog1", [](TQtDialogs& d) { return d.SaveConfigFile(nullptr); },
     QStringLiteral("Текстовые файлы (*.txt)"), "txt", QFileDialog::AcceptSave},
    {"SavePictureDialog1", [](TQtDialogs& d) { return d.SavePictureFile(nullptr); },
     QStringLiteral("Bitmaps (*.bmp)"), "bmp", QFileDialog::AcceptSave},
};

// What a step saw of a file dialog when it opened.
struct TSeen {
    QStringList Filters;
    QString DefaultSuffix;
    QFileDialog::AcceptMode Mode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode FileMode = QFileDialog::ExistingFile;
    bool ConfirmsOverwrite = true;
    QString Proposed;
    QString Folder;
};

TModalScript::TAct Record(TSeen& seen, TModalScript::TAct then) {
    return [&seen, then](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        seen.Filters = dialog->nameFilters();
        seen.DefaultSuffix = dialog->defaultSuffix();
        seen.Mode = dialog->acceptMode();
        seen.FileMode = dialog->fileMode();
        seen.ConfirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seen.Proposed = FileNameEdit(dialog)->text();
        seen.Folder = dialog->directory().absolutePath();
        then(modal);
    };
}

TModalScript::TAct Confirm(const QString& name) {
    return [name](QWidget* modal) { TypeAndConfirm(modal, name); };
}

class FileDialogsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { IsolateToolkitSettings(); }

    QString InFolder(const QString& name) const { return QDir(Folder.path()).filePath(name); }

    void CreateFile(const QString& name) const {
        QFile file(InFolder(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old contents\n");
    }

    QTemporaryDir Folder;
    TQtDialogs Dialogs;
};

TEST_F(FileDialogsTest, EachDialogHasItsFilterExtensionAndLastConfirmedName) {
    for (const TFileDialogKind& kind : kKinds) {
        SCOPED_TRACE(kind.Name);
        TSeen first, second, third;
        TModalScript script;
        const QString typed = InFolder("setup");
        script.Then(IsFileDialog, Record(first, Confirm(typed)));
        const std::optional<QString> chosen = kind.Run(Dialogs);
        script.Then(IsFileDialog, Record(second, PressCancel));
        const std::optional<QString> cancelled = kind.Run(Dialogs);
        script.Then(IsFileDialog, Record(third, Confirm("setup.cfg")));
        const std::optional<QString> renamed = kind.Run(Dialogs);

        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.Failures(), QStringList());
        EXPECT_EQ(first.Filters, QStringList{kind.Filter});
        EXPECT_EQ(first.DefaultSuffix, kind.Extension);
        EXPECT_EQ(first.Mode, kind.Mode);
        EXPECT_EQ(first.FileMode, QFileDialog::AnyFile);
        EXPECT_FALSE(first.ConfirmsOverwrite);
        EXPECT_EQ(first.Proposed, "") << "each dialog remembers only its own names";
        EXPECT_EQ(chosen, InFolder("setup." + kind.Extension));
        EXPECT_EQ(second.Proposed, "setup." + kind.Extension);
        EXPECT_EQ(second.Folder, QDir(Folder.path()).absolutePath());
        EXPECT_EQ(cancelled, std::nullopt);
        EXPECT_EQ(third.Proposed, "setup." + kind.Extension) << "a cancel keeps the name";
        EXPECT_EQ(renamed, InFolder("setup.cfg")) << "a typed extension is kept";
    }
}

TEST_F(FileDialogsTest, DialogsAcceptNamesWithoutAnyQuestion) {
    CreateFile("old.txt");
    CreateFile("old.bmp");
    const struct {
        std::size_t Kind;
        const char* Typed;
        const char* Expected;
    } cases[] = {
        {0, "missing", "missing.txt"},
        {0, "old.txt", "old.txt"},
        {1, "old", "old.txt"},
        {2, "old.bmp", "old.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kKinds[c.Kind].Name) + " " + c.Typed);
        TModalScript script;
        script.Then(IsFileDialog, Confirm(InFolder(c.Typed)));
        EXPECT_EQ(kKinds[c.Kind].Run(Dialogs), InFolder(c.Expected));
        EXPECT_EQ(script.Failures(), QStringList());
    }
    QFile old(InFolder("old.txt"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents\n") << "choosing a name writes nothing";
}

TEST_F(FileDialogsTest, FileListShowsOnlyFilesOfTheFilter) {
    CreateFile("notes.txt");
    CreateFile("diagram.bmp");
    const struct {
        std::size_t Kind;
        const char* Shown;
        const char* Hidden;
    } cases[] = {{0, "notes.txt", "diagram.bmp"}, {2, "diagram.bmp", "notes.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(kKinds[c.Kind].Name);
        bool shownListed = false;
        bool hiddenListed = true;
        TModalScript script;
        script.Then(IsFileDialog, [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            dialog->setDirectory(Folder.path());
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            const auto listed = [list](const QString& name) {
                const QModelIndex folder = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(folder); ++row) {
                    const QModelIndex item = list->model()->index(row, 0, folder);
                    if (item.data().toString() == name && item.flags() & Qt::ItemIsEnabled) {
                        return true;
                    }
                }
                return false;
            };
            shownListed = QTest::qWaitFor([&] { return listed(c.Shown); }, 5000);
            hiddenListed = listed(c.Hidden);
            PressCancel(modal);
        });
        EXPECT_EQ(kKinds[c.Kind].Run(Dialogs), std::nullopt);
        EXPECT_TRUE(shownListed);
        EXPECT_FALSE(hiddenListed);
    }
}

TEST_F(FileDialogsTest, EveryColumnReadsInFullWhenADialogOpens) {
    ASSERT_TRUE(QDir(Folder.path()).mkdir("folder"));
    for (const char* name : {"notes.txt", "big.txt", "small.bmp", "big.bmp"}) {
        CreateFile(name);
    }
    for (const char* name : {"big.txt", "big.bmp"}) {
        QFile big(InFolder(name));
        ASSERT_TRUE(big.resize(3093299));  // shown as 2,95 MiB
    }
    for (const TFileDialogKind& kind : kKinds) {
        SCOPED_TRACE(kind.Name);
        QStringList cut{"not opened"};
        TModalScript script;
        script.Then(IsFileDialog, [&](QWidget* modal) {
            qobject_cast<QFileDialog*>(modal)->setDirectory(Folder.path());
            cut = CutColumns(modal, 3);
            PressCancel(modal);
        });
        EXPECT_EQ(kind.Run(Dialogs), std::nullopt);
        EXPECT_EQ(cut, QStringList());
        EXPECT_EQ(script.Failures(), QStringList());
    }
}

TEST(QtNameFiltersTest, ConvertsDescriptionPatternPairs) {
    const struct {
        const char* Filter;
        QStringList Expected;
    } cases[] = {
        {"Текстовые файлы (*.txt)|*.txt", {"Текстовые файлы (*.txt)"}},
        {"Bitmaps|*.bmp", {"Bitmaps (*.bmp)"}},
        {"Pictures|*.bmp;*.png|All (*.*)|*.*", {"Pictures (*.bmp *.png)", "All (*.*)"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtNameFilters(QString::fromUtf8(c.Filter)), c.Expected) << c.Filter;
    }
}

}  // namespace
