#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <clocale>
#include <memory>
#include <string>

#include "app/version.h"
#include "dialogs_script.h"
#include "fakedialogs.h"
#include "ui/qtdialogs.h"
#include "plot/qt/toolkittranslations.h"
#include "ui/unit1.h"

namespace {

bool HasCyrillic(const QString& text) {
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Cyrillic) {
            return true;
        }
    }
    return false;
}

// Every text the window shows of its own: its title and the text or title of each control.
QStringList OwnTexts(const QWidget& form) {
    QStringList texts{form.windowTitle()};
    for (const QWidget* control : form.findChildren<QWidget*>()) {
        for (const char* property : {"text", "title", "toolTip"}) {
            const QVariant value = control->property(property);
            if (value.isValid() && !value.toString().isEmpty()) {
                texts.append(control->objectName() + "." + property + "=" + value.toString());
            }
        }
    }
    return texts;
}

struct TWindowLook {
    QStringList Texts;
    QImage Picture;
};

TWindowLook LookAtWindow() {
    TFakeDialogs dialogs;
    TForm1 form(dialogs);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    return {OwnTexts(form), form.grab().toImage()};
}

class RussianDialogsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { IsolateToolkitSettings(); }

    void SetUp() override {
        const std::string locale = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(locale.find("ru_RU"), std::string::npos)
            << "the ru_RU.UTF-8 locale is missing (process locale " << locale
            << "): install the Debian package locales and generate ru_RU.UTF-8, as "
               "scripts/install-deps.sh does";
        ASSERT_TRUE(QFile::exists(QDir(ToolkitTranslationsFolder()).filePath("qtbase_ru.qm")))
            << "Qt's Russian translation is missing from "
            << ToolkitTranslationsFolder().toStdString()
            << ": install the Debian package qt6-translations-l10n";
    }

    void TearDown() override { Uninstall(); }

    void Install() {
        Translator = InstallToolkitTranslations(*qApp);
        ASSERT_NE(Translator, nullptr)
            << "qtbase_ru.qm did not load for " << QLocale().name().toStdString();
    }

    void Uninstall() {
        if (Translator != nullptr) {
            QCoreApplication::removeTranslator(Translator);
            delete Translator;
            Translator = nullptr;
        }
    }

    QTranslator* Translator = nullptr;
};

TEST_F(RussianDialogsTest, SaveDialogSpeaksRussianAroundTheProgramsFilter) {
    Install();
    TQtDialogs dialogs;
    QString title, save, cancel, lookIn, fileName, fileType;
    QStringList filters, heads;
    TModalScript script;
    script.Then(IsFileDialog, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        title = dialog->windowTitle();
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        save = buttons->button(QDialogButtonBox::Save)->text();
        cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
        fileName = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text();
        fileType = dialog->findChild<QLabel*>(QStringLiteral("fileTypeLabel"))->text();
        filters = dialog->nameFilters();
        const QAbstractItemModel* files = dialog->findChild<QTreeView*>("treeView")->model();
        for (int column = 0; column < files->columnCount(); ++column) {
            heads.append(files->headerData(column, Qt::Horizontal).toString());
        }
        PressCancel(modal);
    });
    EXPECT_EQ(dialogs.SaveConfigFile(nullptr), std::nullopt);
    EXPECT_EQ(script.Failures(), QStringList());

    const struct {
        const char* What;
        QString Shown;
        QStringList English;
    } texts[] = {
        {"title", title, {"Save As"}},
        {"save button", save, {"&Save", "Save"}},
        {"cancel button", cancel, {"&Cancel", "Cancel"}},
        {"folder label", lookIn, {"Look in:"}},
        {"name label", fileName, {"File &name:", "File name:"}},
        {"type label", fileType, {"Files of type:"}},
    };
    for (const auto& t : texts) {
        EXPECT_FALSE(t.English.contains(t.Shown)) << t.What << ": " << t.Shown.toStdString();
        EXPECT_TRUE(HasCyrillic(t.Shown)) << t.What << ": " << t.Shown.toStdString();
    }
    ASSERT_EQ(heads.size(), 4);
    for (const QString& head : heads) {
        EXPECT_TRUE(HasCyrillic(head)) << head.toStdString();
    }
    EXPECT_EQ(filters, QStringList{QStringLiteral("Текстовые файлы (*.txt)")});
}

TEST_F(RussianDialogsTest, EveryColumnReadsInFullWhenTheDialogOpens) {
    Install();
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("Папка"));
    for (const auto& [name, size] :
         {std::pair{"заметки.txt", 6}, std::pair{"большой.txt", 3093299}}) {
        QFile file(QDir(folder.path()).filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
    }
    TQtDialogs dialogs;
    QStringList cut{"not opened"};
    TModalScript script;
    script.Then(IsFileDialog, [&](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->setDirectory(folder.path());
        cut = CutColumns(modal, 3);
        PressCancel(modal);
    });
    EXPECT_EQ(dialogs.OpenConfigFile(nullptr), std::nullopt);
    EXPECT_EQ(cut, QStringList());
    EXPECT_EQ(script.Failures(), QStringList());
}

TEST_F(RussianDialogsTest, PictureDialogKeepsItsOwnTexts) {
    Install();
    TQtDialogs dialogs;
    QString label, pane, tip;
    TModalScript script;
    script.Then(IsFileDialog, [&](QWidget* dialog) {
        label = dialog->findChild<QLabel*>(QStringLiteral("PictureLabel"))->text();
        pane = dialog->findChild<QLabel*>(QStringLiteral("ImagePane"))->text();
        tip = dialog->findChild<QToolButton*>(QStringLiteral("PreviewButton"))->toolTip();
        PressCancel(dialog);
    });
    EXPECT_EQ(dialogs.SavePictureFile(nullptr), std::nullopt);
    EXPECT_EQ(label, "Picture:");
    EXPECT_EQ(pane, "(None)");
    EXPECT_EQ(tip, "Preview");
}

TEST_F(RussianDialogsTest, WindowLooksTheSameWithQtsTranslations) {
    const TWindowLook plain = LookAtWindow();
    Install();
    const TWindowLook translated = LookAtWindow();
    EXPECT_EQ(translated.Texts, plain.Texts);
    EXPECT_TRUE(
        translated.Texts.contains(QStringLiteral("StaticText8.text=Записать диаграмму в файл")));
    EXPECT_EQ(translated.Texts.value(0), "Диаграмма направленности антенной решетки (v. " ARRAYPATTERN_VERSION_TEXT ")");
    EXPECT_EQ(translated.Picture, plain.Picture) << "every pixel of the window, texts included";
}

}  // namespace
