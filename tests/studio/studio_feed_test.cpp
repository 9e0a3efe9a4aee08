#include <gtest/gtest.h>

#include <QTableWidget>
#include <filesystem>
#include <string>

#include "app/feedanalysis.h"
#include "clirunner.h"
#include "jsonreader.h"
#include "studio/feedpanel.h"
#include "studio/feedschematic.h"
#include "studio/feedtools.h"
#include "studio/studiostate.h"

// The Feed panel headless: the studio's analysis through a network against the command line's,
// and the netlists it reads from elsewhere.
namespace {

const std::string kFourSquare =
    std::string(ARRAYPATTERN_SOURCE_EXAMPLES) + "/four-square-monopoles.txt";

struct TFeedStudio {
    TFeedStudio() : Tools(State, Panel) { State.Reset(OpenDocument(kFourSquare).Document); }
    TStudioState State;
    TFeedPanel Panel;
    TFeedTools Tools;
};

TEST(StudioFeedTest, TheStudiosAnalysisThroughItsNetworkIsTheCommandLines) {
    TFeedStudio studio;
    TFeedDesignRequest lines = studio.Panel.Request();
    ASSERT_TRUE(studio.Tools.Design(lines)) << studio.Panel.Status().toStdString();
    // A part changed, so that the figures are not the design's own.
    const int row = 0;
    ASSERT_EQ(studio.State.Network()->Parts[row].Kind, TPartKind::Line);
    studio.Tools.EditPart(row, 95);
    TTempDir dir;
    ASSERT_TRUE(studio.Tools.SaveNetlist(QString::fromStdString(dir.Path("feed.net"))));
    const std::string mhz =
        QString::number(static_cast<double>(DesignFrequencyMhz(studio.State.Document())), 'g', 17)
            .toStdString();
    const TCliRun run = RunCli({"pattern", "--format", "json", "--config", kFourSquare,
                                "--frequency", mhz, "--network", dir.Path("feed.net")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TJson json = ParseJson(run.Out);
    const TFeedFigures& f = *studio.State.Result()->Network;
    // The netlist keeps 12 digits of every value.
    EXPECT_NEAR(f.TransmitterSwr.value(), json["network"]["transmitter"]["swr"].Number(), 1e-6);
    for (std::size_t k = 0; k < f.Emitters.size(); ++k) {
        EXPECT_NEAR(*f.Emitters[k].ErrorDeg,
                    json["network"]["emitters"].Items[k]["current_error_deg"].Number(), 1e-6);
    }
    EXPECT_NEAR(static_cast<double>(studio.State.Result()->Metrics->FrontToBackDb),
                json["metrics"]["front_to_back_db"].Number(), 1e-6);
}

TEST(StudioFeedTest, ANetlistFromElsewhereShowsItsPartsOnlyAndAnOffEmittersPortNamesItsLine) {
    TFeedStudio studio;
    TTempDir dir;
    WriteBytes(dir.Path("own.net"),
               "* hand-made feed\nV1 src 0 AC 1\nRTX src tx 50\nT1 tx 0 e1 0 Z0=50 F=7.1MEG "
               "NL=0.25\nT2 tx 0 e2 0 Z0=50 F=7.1MEG NL=0.25\nT3 tx 0 e3 0 Z0=50 F=7.1MEG "
               "NL=0.25\nT4 tx 0 e4 0 Z0=50 F=7.1MEG NL=0.25\n");
    ASSERT_TRUE(studio.Tools.OpenNetlist(QString::fromStdString(dir.Path("own.net"))));
    EXPECT_EQ(studio.Panel.Parts()->rowCount(), 6);
    EXPECT_FALSE(studio.Panel.Schematic()->Drawn());
    ASSERT_TRUE(studio.State.Result().has_value());

    studio.State.Edit("off", [](TStudioDocument& d) { d.Array.Emitter(3).Enabled = false; });
    EXPECT_FALSE(studio.State.Result().has_value());
    EXPECT_NE(studio.State.Error().find(":6:"), std::string::npos) << studio.State.Error();
    studio.State.UndoStack().undo();
    studio.State.UndoStack().undo();
    EXPECT_EQ(studio.State.Network(), nullptr);
    EXPECT_EQ(studio.State.Result()->Network, nullptr);
}

}  // namespace
