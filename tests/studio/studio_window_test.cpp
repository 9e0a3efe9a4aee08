#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWheelEvent>
#include <algorithm>

#include "config/messages.h"
#include "plot/qt/toolkittranslations.h"
#include "speak_language.h"
#include "studio/asking.h"
#include "studio/chartview.h"
#include "studio/controlspanel.h"
#include "studio/staleveil.h"
#include "studio/studiowindow.h"

// The studio's window, headless: its answers recorded instead of dialogs on screen.
namespace {

struct TAnswers {
    TStudioAsk::TAnswer Discard = TStudioAsk::TAnswer::Cancel;
    QString Name;
    int DiscardAsked = 0;
    int NamesAsked = 0;
};

class TRecordedAsk : public TStudioAsk {
  public:
    explicit TRecordedAsk(TAnswers& answers) : TStudioAsk(nullptr), Answers(answers) {}
    TAnswer Discard(const QString&) override {
        ++Answers.DiscardAsked;
        return Answers.Discard;
    }
    QString OpenName(const QString&) override {
        ++Answers.NamesAsked;
        return Answers.Name;
    }
    QString SaveName(const QString&, const QString&) override {
        ++Answers.NamesAsked;
        return Answers.Name;
    }

  private:
    TAnswers& Answers;
};

class StudioWindowTest : public testing::Test {
  protected:
    void SetUp() override { Window.SetAsk(std::make_unique<TRecordedAsk>(Answers)); }
    void Change() {
        Window.State().Edit("amplitude",
                            [](TStudioDocument& d) { d.Array.Emitter(2).Amplitude = 0.5L; });
    }

    TAnswers Answers;
    TStudioWindow Window;
};

TEST_F(StudioWindowTest, AChangedDocumentIsMarkedAndAskedForBeforeOpenOrCloseLoseIt) {
    EXPECT_FALSE(Window.isWindowModified());
    EXPECT_TRUE(Window.windowTitle().contains("[*]"));
    Change();
    EXPECT_TRUE(Window.isWindowModified());
    // Cancelled: nothing is opened, the window stays.
    Window.AskOpen();
    EXPECT_EQ(Answers.DiscardAsked, 1);
    EXPECT_EQ(Answers.NamesAsked, 0);
    Window.show();
    EXPECT_FALSE(Window.close());
    EXPECT_EQ(Answers.DiscardAsked, 2);
    EXPECT_TRUE(Window.isVisible());
    // Let go: the open dialog comes.
    Answers.Discard = TStudioAsk::TAnswer::Discard;
    Window.AskOpen();
    EXPECT_EQ(Answers.NamesAsked, 1);
    EXPECT_TRUE(Window.close());
}

TEST_F(StudioWindowTest, APresetOpensUntitledAndSavingItAsksForAPath) {
    Window.OpenCopy(ARRAYPATTERN_SOURCE_EXAMPLES "/four-square.txt");
    EXPECT_TRUE(Window.FileName().isEmpty());
    QTemporaryDir dir;
    Answers.Name = dir.filePath("mine.txt");
    Window.AskSave(false);
    EXPECT_EQ(Answers.NamesAsked, 1);
    EXPECT_EQ(Window.FileName(), Answers.Name);
    EXPECT_TRUE(QFileInfo::exists(Answers.Name));
}

TEST_F(StudioWindowTest, EveryChartIsVeiledWhileTheDocumentCannotBeAnalysedAndClearsOnUndo) {
    for (QWidget* chart : Window.Charts()) EXPECT_FALSE(IsStale(chart));
    Window.State().Edit("ground",
                        [](TStudioDocument& d) { d.Ground.Kind = TGroundKind::Perfect; });
    ASSERT_FALSE(Window.State().Result());
    for (QWidget* chart : Window.Charts()) {
        EXPECT_TRUE(IsStale(chart)) << chart->metaObject()->className();
        EXPECT_TRUE(chart->property("stale").toBool());
    }
    Window.State().UndoStack().undo();
    for (QWidget* chart : Window.Charts()) EXPECT_FALSE(IsStale(chart));
}

TEST_F(StudioWindowTest, TheWheelOverAnUnfocusedSpinBoxChangesNothing) {
    const auto boxes = Window.Controls()->findChildren<QAbstractSpinBox*>();
    ASSERT_FALSE(boxes.isEmpty());
    const int steps = Window.State().UndoStack().count();
    for (QAbstractSpinBox* box : boxes) {
        const QString before = box->text();
        QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        EXPECT_EQ(box->text(), before);
    }
    EXPECT_EQ(Window.State().UndoStack().count(), steps);
}

}  // namespace

// Qt's own file dialog speaks the studio's language around the studio's own named filters, as
// the classic window's does.
TEST(StudioDialogsTest, TheOpenDialogSpeaksRussianAroundNamedFilters) {
    SpeakLanguage(TLanguage::Russian);
    QTranslator* qt = InstallToolkitTranslations(*qApp, QLocale(QLocale::Russian, QLocale::Russia));
    ASSERT_NE(qt, nullptr) << "Qt's Russian translation is missing from "
                           << ToolkitTranslationsFolder().toStdString()
                           << ": install the Debian package qt6-translations-l10n";
    QString open, cancel, name;
    QStringList filters;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll.stop();
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        open = buttons->button(QDialogButtonBox::Open)->text();
        cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        name = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    poll.start(20);
    TStudioAsk ask(nullptr);
    const QString chosen = ask.OpenName(QStringLiteral("Open"));
    QCoreApplication::removeTranslator(qt);
    delete qt;
    SpeakLanguage(TLanguage::English);
    EXPECT_TRUE(chosen.isEmpty());
    for (const QString& text : {open, cancel, name}) {
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.script() == QChar::Script_Cyrillic;
        })) << text.toStdString();
    }
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Файлы конфигурации (*.txt)"),
                                    QStringLiteral("Все файлы (*)")}));
}
