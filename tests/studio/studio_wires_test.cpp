#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "app/figures.h"
#include "app/frequencysweep.h"
#include "clirunner.h"
#include "jsonreader.h"
#include "plot/surface3d.h"
#include "studio/chartview.h"
#include "studio/controlspanel.h"
#include "studio/designer.h"
#include "studio/designpanel.h"
#include "studio/emitterstable.h"
#include "studio/figurespanel.h"
#include "studio/geometrycanvas.h"
#include "studio/presets.h"
#include "studio/studiowindow.h"
#include "studio/sweepview.h"
#include "studio/warningspanel.h"

// The studio's wires against the command line: the same file, the same figures in the same text.
namespace {

const std::string kExamples = ARRAYPATTERN_SOURCE_EXAMPLES;
const std::string kMonopoles = kExamples + "/four-square-monopoles.txt";

TJson CliPattern(const std::vector<std::string>& options) {
    std::vector<std::string> args{"pattern", "--format", "json", "--config", kMonopoles};
    args.insert(args.end(), options.begin(), options.end());
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

// A number of the command line's CSV, whatever the process locale.
double Real(const std::string& text) {
    double value = NAN;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string Ohms(const TJson& z) {
    const long double x = z[1].Number();
    return FigureText(z[0].Number(), 2) + (x < 0 ? " - j" : " + j") + FigureText(std::fabs(x), 2);
}

class StudioWiresTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Window.Open(QString::fromStdString(kMonopoles))); }

    std::string Figure(const char* key) {
        const QLabel* label = Window.Figures()->ValueLabel(key);
        return label ? label->text().toStdString() : "(no row " + std::string(key) + ")";
    }

    TStudioWindow Window;
};

TEST_F(StudioWiresTest, TheWarningsPanelLeadsWithTheModesOnEachWireAsTheCommandLineCountsThem) {
    const TJson validity = CliPattern({})["coupling"]["validity"];
    std::string modes;
    for (const TJson& m : validity["modes"].Items)
        modes += (modes.empty() ? "" : ", ") + std::to_string(int(m["modes"].Number())) +
                 " at emitter " + std::to_string(int(m["number"].Number()));
    ASSERT_EQ(validity["modes"].Items.size(), 4U);
    const QString text = Window.Warnings()->PlainText();
    std::string elements = validity["elements"].Text;
    elements[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(elements[0])));
    EXPECT_EQ(text.section('\n', 0, 0).toStdString(), elements + ", sinusoidal modes: " + modes);
    // A fact, not a warning: only what may be wrong is drawn in red.
    EXPECT_FALSE(Window.Warnings()->text().section("<br>", 0, 0).contains("a00000"));
    EXPECT_FALSE(Window.Warnings()->isHidden());
}

TEST_F(StudioWiresTest, TheTablesDrivesAndTheFeedFiguresAreTheCommandLinesForTheSameFile) {
    const TJson json = CliPattern({});
    const TJson& coupling = json["coupling"];
    ASSERT_EQ(coupling["emitters"].Items.size(), 4U);
    for (const TJson& e : coupling["emitters"].Items) {
        const int k = static_cast<int>(e["number"].Number());
        EXPECT_EQ(Window.Table()->ImpedanceLabel(k)->text().toStdString(),
                  Ohms(e["drive_impedance_ohm"]));
        const std::string swr = e["swr"].IsNull() ? "none" : FigureText(e["swr"].Number(), 2);
        EXPECT_EQ(Window.Table()->SwrLabel(k)->text().toStdString(), swr) << k;
        // The back element takes power from its neighbours: its SWR says why it has none.
        EXPECT_EQ(Window.Table()->SwrLabel(k)->toolTip().isEmpty(), !e["swr"].IsNull()) << k;
    }
    EXPECT_EQ(Figure("input_power_w"), FigureText(coupling["input_power_w"].Number(), 4));
    EXPECT_EQ(Figure("efficiency"), FigureText(coupling["efficiency"].Number(), 4));
    EXPECT_EQ(Figure("gain_dbi"), FigureText(json["gain_dbi"].Number(), 3));
    EXPECT_EQ(Figure("front_to_back_db"),
              FigureText(json["metrics"]["front_to_back_db"].Number(), 2));
}

TEST_F(StudioWiresTest, AVoltageFeedIsOneUndoStepWithTheCommandLinesFrontToBack) {
    const TStudioDocument before = Window.State().Document();
    QComboBox* feed = Window.Controls()->FeedBox();
    feed->setCurrentIndex(1);
    emit feed->activated(1);
    EXPECT_EQ(Window.State().UndoStack().count(), 1);
    const TJson json = CliPattern({"--feed", "voltage"});
    EXPECT_EQ(Figure("front_to_back_db"),
              FigureText(json["metrics"]["front_to_back_db"].Number(), 2));
    Window.State().UndoStack().undo();
    EXPECT_TRUE(Window.State().Document() == before);
    EXPECT_FALSE(Window.State().Document().Wires.Feed.has_value());
}

// The design's status line is the line the command line's design prints of the same file, its
// figure the one the figures panel shows; it leaves once the document changes.
TEST_F(StudioWiresTest, AFrontToBackDesignSaysTheCommandLinesFigureUntilTheDocumentChanges) {
    Window.Designer().Design(TDesignGoal::FrontToBack, 45);
    const std::string said = Window.Design()->Outcome().toStdString();
    TTempDir dir;
    const TCliRun run = RunCli({"design", "--config", kMonopoles, "--goal", "front-to-back",
                                "--bearing", "45", "--amplitudes", "fixed", dir.Path("d.txt")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(said, Lines(run.Out).back());
    EXPECT_EQ(said.rfind("front-to-back: " + Figure("front_to_back_db") + " dB", 0), 0U) << said;
    Window.State().UndoStack().undo();
    EXPECT_TRUE(Window.Design()->Outcome().isEmpty());
    Window.Designer().Design(TDesignGoal::FrontToBack, 45);
    EXPECT_FALSE(Window.Design()->Outcome().isEmpty());
    ASSERT_TRUE(Window.Open(QString::fromStdString(kExamples + "/four-square.txt")));
    EXPECT_TRUE(Window.Design()->Outcome().isEmpty());
}

TEST_F(StudioWiresTest, TheSweepAtTheDesignFrequencyIsTheTablesDrive) {
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !Window.SweepChart()->Sweep().Emitters.empty(); }, 5000));
    const TDriveSweep& sweep = Window.SweepChart()->Sweep();
    ASSERT_EQ(sweep.FrequenciesMhz.size(), 41U);
    EXPECT_EQ(sweep.FrequenciesMhz[20],
              static_cast<double>(Window.State().Document().Ground.FrequencyMhz));
    const TCoupling& c = Window.State().Result()->Wires.Solved->Coupling;
    ASSERT_EQ(sweep.Emitters.size(), c.Emitters.size());
    for (std::size_t k = 0; k < c.Emitters.size(); ++k) {
        const TDrive& d = c.Emitters[k].Drive;
        EXPECT_EQ(sweep.DriveROhm[k][20], d.Impedance->real()) << k;
        if (d.Swr) {
            EXPECT_EQ(sweep.Swr[k][20], *d.Swr) << k;
        } else {
            EXPECT_TRUE(std::isnan(sweep.Swr[k][20])) << k;
        }
    }
    EXPECT_GT(Window.SweepChart()->Drawings(), 0);
}

// The studio's sweep against `sweep --vary frequency` over the same span: the same feeds at
// every step, to the rounding of the two ways of stepping the frequency.
TEST_F(StudioWiresTest, TheSweepIsTheCommandLinesFrequencySweep) {
    const TStudioDocument& d = Window.State().Document();
    const TDriveSweep sweep = SweepDrive(CaseOf(d, std::nullopt), DesignFrequencyMhz(d), 0.05L, 41);
    const TCliRun run = RunCli({"sweep", "--config", kMonopoles, "--vary", "frequency", "--from",
                                "6.745", "--to", "7.455", "--steps", "41", "--frequency", "7.1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 42U);
    const auto cells = [](const std::string& line) {
        std::vector<std::string> out(1);
        for (const char c : line) {
            if (c == ',') {
                out.emplace_back();
            } else {
                out.back().push_back(c);
            }
        }
        return out;
    };
    const std::vector<std::string> head = cells(lines[0]);
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(head.begin(), head.end(), name) - head.begin());
    };
    for (std::size_t i = 0; i < 41; ++i) {
        const std::vector<std::string> row = cells(lines[i + 1]);
        for (std::size_t k = 0; k < sweep.Emitters.size(); ++k) {
            const std::string n = std::to_string(sweep.Emitters[k]);
            const double r = Real(row[column("drive_r_ohm_" + n)]);
            EXPECT_NEAR(sweep.DriveROhm[k][i], r, 1e-9 * std::fabs(r)) << i << " " << n;
            const std::string& swr = row[column("swr_" + n)];
            if (swr.empty()) {
                EXPECT_TRUE(std::isnan(sweep.Swr[k][i])) << i << " " << n;
            } else {
                EXPECT_NEAR(sweep.Swr[k][i], Real(swr), 1e-9 * Real(swr)) << i << " " << n;
            }
        }
    }
}

TEST_F(StudioWiresTest, ALengthTypedInTheControlsIsOneStepThatUndoRestoresBitForBit) {
    const TStudioDocument before = Window.State().Document();
    Window.Controls()->LengthBox()->setValue(0.24);
    EXPECT_EQ(Window.State().UndoStack().count(), 1);
    for (const auto& length : Window.State().Document().Wires.Lengths) EXPECT_EQ(length, 0.24);
    Window.State().UndoStack().undo();
    EXPECT_TRUE(Window.State().Document() == before);
    Window.Controls()->LengthBox()->setValue(0);
    EXPECT_FALSE(Window.State().Result()->Wires.Solved);
    EXPECT_TRUE(Window.Table()->ImpedanceLabel(1)->isHidden());
}

TEST_F(StudioWiresTest, SaveWritesTheWireKeysAsTheCommandLinesSaveAndOpensThemBack) {
    Window.Controls()->FeedBox()->setCurrentIndex(1);
    emit Window.Controls()->FeedBox()->activated(1);
    TTempDir dir;
    ASSERT_TRUE(Window.SaveAs(QString::fromStdString(dir.Path("studio.txt"))));
    const TCliRun run =
        RunCli({"save", "--config", kMonopoles, "--feed", "voltage", dir.Path("cli.txt")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadBytes(dir.Path("studio.txt")), ReadBytes(dir.Path("cli.txt")));
    const TStudioDocument saved = Window.State().Document();
    ASSERT_TRUE(Window.Open(QString::fromStdString(dir.Path("studio.txt"))));
    EXPECT_TRUE(Window.State().Document() == saved);
}

TEST(StudioPresetsTest, TheFourWireExamplesAreListedAndOpenWithTheirWiresSolved) {
    const auto presets = FindPresets({kExamples});
    for (const char* stem : {"four-square-monopoles", "yagi-2", "cardioid-verticals-voltage",
                             "dipole-pair-over-average-ground"}) {
        const auto preset = std::find_if(presets.begin(), presets.end(), [&](const TPreset& p) {
            return p.Path.ends_with("/" + std::string(stem) + ".txt");
        });
        ASSERT_NE(preset, presets.end()) << stem;
        EXPECT_NE(preset->Title, stem);  // a title of its own, not the file's name
        TStudioState state;
        state.Reset(OpenDocument(preset->Path).Document);
        ASSERT_TRUE(state.Result().has_value()) << stem << ": " << state.Error();
        EXPECT_TRUE(state.Result()->Wires.Solved) << stem;
    }
}

struct TLabelCase {
    const char* Name;
    std::vector<std::pair<long double, long double>> Places;  // emitters 1.. at X, Y
    int Emitter;
    const char* Label;
};

const TLabelCase kLabelCases[] = {
    {"AnEmitterAloneHasItsNumber", {{0, 0}, {1, 0}}, 1, "1"},
    {"TheLastInAPlaceNamesTheRun", {{1, 0}, {0, 0}, {0, 0}, {0, 0}}, 4, "2\u20134"},
    {"TheOthersInThatPlaceHaveNone", {{1, 0}, {0, 0}, {0, 0}, {0, 0}}, 3, ""},
    {"TwoInARowAreListed", {{0, 0}, {0, 0}, {1, 0}}, 2, "1,2"},
    {"RunsAndSinglesMix", {{0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}}, 5, "1,3\u20135"},
};

class PlaceLabelTest : public testing::TestWithParam<TLabelCase> {};

TEST_P(PlaceLabelTest, EmittersSharingAPlaceShareOneLabel) {
    TArray array;
    for (int k = 1; k <= kEmitterCount; ++k) {
        array.Emitter(k).X = 10 + k;  // each alone unless the case places it
    }
    for (std::size_t i = 0; i < GetParam().Places.size(); ++i) {
        array.Emitter(static_cast<int>(i) + 1).X = GetParam().Places[i].first;
        array.Emitter(static_cast<int>(i) + 1).Y = GetParam().Places[i].second;
    }
    EXPECT_EQ(PlaceLabel(array, GetParam().Emitter), GetParam().Label);
}

INSTANTIATE_TEST_SUITE_P(Studio, PlaceLabelTest, testing::ValuesIn(kLabelCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The 3-D pane draws the picture at its own size: every text keeps the file's pixel size (the
// scale's labels at least most of it) and stays inside, however small the pane.
TEST(Studio3dPaneTest, ItsTextsKeepTheirPixelSizesInsideASmallPane) {
    TSurfaceView view;
    view.Subject.Conditions = "free space; elevation 0 deg; vertical dipoles";
    for (const double side : {260.0, 400.0, 880.0}) {
        const auto small = SurfaceTexts(view, "four-square.txt", "", side);
        const auto full = SurfaceTexts(view, "four-square.txt", "", 880);
        ASSERT_EQ(small.size(), full.size()) << side;
        for (std::size_t i = 0; i < small.size(); ++i) {
            EXPECT_GE(small[i].Size, 0.8 * full[i].Size) << small[i].Text << " at " << side;
            EXPECT_GE(small[i].Left, 0) << small[i].Text << " at " << side;
            EXPECT_LE(small[i].Right, side) << small[i].Text << " at " << side;
            EXPECT_GE(small[i].Top, 0) << small[i].Text << " at " << side;
            EXPECT_LE(small[i].Bottom, side) << small[i].Text << " at " << side;
        }
    }
}

TEST(StudioStartTest, TheInitialArraysSwitchedOffEmittersReadFiveToEight) {
    const TArray array = InitialDocument().Array;
    EXPECT_EQ(PlaceLabel(array, 8), "5\u20138");
    EXPECT_EQ(PlaceLabel(array, 5), "");
}

// A held reference is drawn on one dBi axis with the design: each legend gives the gain that
// the figures and the command line give for the file, not the ideal emitters' directivity.
TEST_F(StudioWiresTest, AHeldReferencesLegendGivesTheGainOfTheFigures) {
    for (const std::string name : {"four-square-monopoles", "cardioid-verticals-voltage"}) {
        SCOPED_TRACE(name);
        const std::string file = kExamples + "/" + name + ".txt";
        ASSERT_TRUE(Window.Open(QString::fromStdString(file)));
        Window.Designer().Hold(true, "held");
        const TCliRun run = RunCli({"pattern", "--format", "json", "--config", file});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const double gain = static_cast<double>(ParseJson(run.Out)["gain_dbi"].Number());
        const auto& shown = Window.Polar()->Shown();
        ASSERT_EQ(shown.size(), 2U);
        for (const TChartSeries& s : shown) {
            ASSERT_TRUE(s.PeakDbi) << s.Name;
            EXPECT_TRUE(s.Gain) << s.Name;
            EXPECT_NEAR(*s.PeakDbi, gain, 0.01) << s.Name;
        }
        Window.Designer().Hold(false, {});
    }
}

// Wires a million wavelengths out are solved about their own middle: the studio opens them at
// once, as the command line answers for them.
TEST_F(StudioWiresTest, WiresFarFromTheOriginOpenAtOnce) {
    TTempDir dir;
    const std::string file = dir.Path("far.txt");
    const TCliRun save = RunCli({"save", file, "--type", "1", "--length", "0.5", "--set",
                                 "1:x=999999", "--set", "2:x=999999.5", "--set", "1:y=0", "--set",
                                 "2:y=0", "--set", "3:on=0", "--set", "4:on=0"});
    ASSERT_EQ(save.ExitCode, 0) << save.Err;
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(Window.Open(QString::fromStdString(file)));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    EXPECT_FALSE(Figure("gain_dbi").empty());
}

}  // namespace

// The figures panel lists the broadside line's nulls one a line with their count, each below
// the floor at a two-decimal bearing; the controls name the four-square's wires monopoles.
TEST_F(StudioWiresTest, NullsReadOneALineBelowTheFloorAndMonopolesAreNamedSo) {
    EXPECT_EQ(Window.Controls()->TypeBox()->itemText(etVerticalDipole).toStdString(),
              "vertical monopoles");
    ASSERT_TRUE(Window.Open(QString::fromStdString(kExamples + "/broadside-line-8.txt")));
    EXPECT_EQ(Window.Controls()->TypeBox()->itemText(etVerticalDipole).toStdString(),
              "vertical dipoles");
    const std::string nulls = Figure("nulls");
    EXPECT_EQ(std::count(nulls.begin(), nulls.end(), '\n'), 13) << nulls;
    EXPECT_EQ(nulls.substr(0, nulls.find('\n')), "14.48 (below -120 dB)");
    EXPECT_NE(nulls.find("\n90.00 (below -120 dB)\n"), std::string::npos) << nulls;
    EXPECT_EQ(Figure("main_lobes"), "0.00\n180.00");
    const QLabel* value = Window.Figures()->ValueLabel("nulls");
    ASSERT_NE(value, nullptr);
    bool captioned = false;
    for (const QLabel* label : Window.Figures()->findChildren<QLabel*>())
        captioned = captioned || label->text() == "Nulls (14), deg";
    EXPECT_TRUE(captioned);
}
