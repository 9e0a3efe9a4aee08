#include <gtest/gtest.h>

#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <string>

#include "app/feedanalysis.h"
#include "config/messages.h"
#include "studio/feedchart.h"
#include "studio/feedpanel.h"
#include "studio/feedschematic.h"
#include "studio/feedtools.h"
#include "studio/figurespanel.h"
#include "studio/studiowindow.h"
#include "xinput.h"

// The Feed panel as a user reaches it: xdotool's real X events into the studio's window on a
// private Xvfb, the array solved through the network it designs.
namespace {

const std::string kExamples = ARRAYPATTERN_SOURCE_EXAMPLES;

void Click(QWidget* widget, QPoint local, const std::string& clicks = "click 1") {
    Xdotool("mousemove " + At(widget->mapToGlobal(local)) + " " + clicks);
}

class StudioFeedXvfbTest : public testing::Test {
  protected:
    void SetUp() override {
        ShowForXInput(Window);
        Window.findChild<QDockWidget*>(QStringLiteral("feed"))->raise();
        QTest::qWait(100);
    }

    double FrontToBack() {
        return Window.Figures()
            ->ValueLabel("front_to_back_db")
            ->text()
            .replace(',', '.')
            .toDouble();
    }
    double Swr() { return *Window.State().Result()->Network->TransmitterSwr; }
    std::vector<double> SweptSwr() {
        Window.FeedActions().RefreshSweep();
        return Window.Feed()->Chart()->Sweep().Swr;
    }
    int Row(const QString& part) {
        QTableWidget* table = Window.Feed()->Parts();
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->item(row, 0)->text() == part) return row;
        }
        return -1;
    }

    TStudioWindow Window;
};

TEST_F(StudioFeedXvfbTest,
       TheFourSquaresFeedIsDesignedAndAnInductorsChangeMovesFrontToBackUntilUndone) {
    ASSERT_TRUE(Window.Open(QString::fromStdString(kExamples + "/four-square-monopoles.txt")));
    const double wanted = FrontToBack();
    QPushButton* design = nullptr;
    for (QPushButton* button : Window.Feed()->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(Tr("Design"))) design = button;
    }
    ASSERT_NE(design, nullptr);
    Click(design, design->rect().center());
    ASSERT_TRUE(Settle([&] { return Window.State().Network() != nullptr; }));
    // Through the network: the wanted currents' pattern within 1 dB, the transmitter matched.
    const double designed = FrontToBack();
    EXPECT_NEAR(designed, wanted, 1.0);
    EXPECT_LE(Swr(), 1.2);
    EXPECT_TRUE(Window.Feed()->Schematic()->Drawn());
    const std::vector<double> swrBefore = SweptSwr();
    ASSERT_EQ(swrBefore.size(), 41U);

    // The L-network's series inductor 10 % larger, typed into its cell.
    const int row = Row(QStringLiteral("LS1"));
    ASSERT_GE(row, 0) << Window.Feed()->Status().toStdString();
    QTableWidget* table = Window.Feed()->Parts();
    const double microhenries = table->item(row, TFeedPanel::kValueColumn)->text().toDouble();
    const QRect cell = table->visualItemRect(table->item(row, TFeedPanel::kValueColumn));
    Click(table->viewport(), cell.center(), "click --repeat 2 1");
    QTest::qWait(200);
    Xdotool("key ctrl+a");
    Xdotool("type " + QString::number(microhenries * 1.1, 'g', 6).toStdString());
    Xdotool("key Return");
    ASSERT_TRUE(Settle([&] { return std::abs(FrontToBack() - designed) > 0.01; })) << FrontToBack();
    EXPECT_GT(Swr(), 1.0);
    const std::vector<double> swrChanged = SweptSwr();
    EXPECT_NE(swrChanged, swrBefore);
    EXPECT_EQ(Window.State().UndoStack().undoText().toStdString(), TrFormat("Change %s", {"LS1"}));

    // Undone: the designed network, its figures and its band bit for bit.
    Xdotool("key ctrl+z");
    ASSERT_TRUE(Settle([&] { return FrontToBack() == designed; })) << FrontToBack();
    EXPECT_EQ(SweptSwr(), swrBefore);
    EXPECT_EQ(table->item(row, TFeedPanel::kValueColumn)->text().toDouble(), microhenries);
}

}  // namespace
