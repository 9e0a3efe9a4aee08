#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "app/figures.h"
#include "clirunner.h"
#include "config/numtext.h"
#include "jsonreader.h"
#include "model/phaseangle.h"
#include "studio/designactions.h"
#include "studio/document.h"
#include "studio/figurerows.h"

namespace {

constexpr int kDocuments = 200;

// The shortest text that reads back as the same 80-bit value.
std::string Exact(long double value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// The command line's options for the document: every emitter's fields, those switched on
// before those switched off (the last emitter on stays on), the type, the formula or the
// ground, and the elevation where one is chosen.
std::vector<std::string> OptionsOf(const TStudioDocument& d) {
    std::vector<std::string> args{"pattern", "--format", "json"};
    const auto set = [&args](int k, const char* field, long double value) {
        args.push_back("--set");
        args.push_back(std::to_string(k) + ":" + field + "=" + Exact(value));
    };
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = d.Array.Emitter(k);
        set(k, "x", e.X);
        set(k, "y", e.Y);
        set(k, "phase", e.Phase);
        set(k, "amplitude", e.Amplitude);
    }
    for (const bool on : {true, false}) {
        for (int k = 1; k <= kEmitterCount; ++k) {
            if (d.Array.Emitter(k).Enabled == on) set(k, "on", on ? 1 : 0);
        }
    }
    args.insert(args.end(), {"--type", std::to_string(d.Array.EmitterType)});
    const TGround& g = d.Ground;
    bool elevation = true;
    if (g.Kind == TGroundKind::None) {
        args.insert(args.end(), {"--model", std::string(NameOf<TFieldModel>(kFieldModelNames,
                                                                            d.FreeSpaceModel))});
    } else {
        args.insert(args.end(),
                    {"--ground", std::string(NameOf<TGroundKind>(kGroundKindNames, g.Kind)),
                     "--height", Exact(g.HeightWavelengths)});
        if (g.Kind == TGroundKind::Real) {
            args.insert(args.end(), {"--frequency", Exact(g.FrequencyMhz), "--permittivity",
                                     Exact(g.Permittivity), "--conductivity",
                                     Exact(g.Conductivity)});
        }
        elevation = !d.ElevationAtTakeoff;
    }
    if (elevation) args.insert(args.end(), {"--elevation", Exact(d.ElevationDegrees)});
    return args;
}

// A document of every kind the studio edits: any type, formula and ground, currents from 0,
// positions on the 1/64 wavelength grid or anywhere, phases anywhere.
TStudioDocument RandomDocument(std::mt19937_64& random) {
    std::uniform_real_distribution<long double> unit(0, 1);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    TStudioDocument d = InitialDocument();
    for (int k = 1; k <= kEmitterCount; ++k) {
        TEmitter& e = d.Array.Emitter(k);
        const bool onGrid = pick(2) == 0;
        e.X = onGrid ? (pick(129) - 64) / 64.0L : 2 * unit(random) - 1;
        e.Y = onGrid ? (pick(129) - 64) / 64.0L : 2 * unit(random) - 1;
        e.Phase = PhaseFromDegrees(pick(2) == 0 ? pick(360) - 179 : 360 * unit(random) - 180);
        e.Amplitude = pick(6) == 0 ? 0 : unit(random) * 2;
        e.Enabled = pick(3) != 0;
    }
    d.Array.Emitter(1 + pick(kEmitterCount)).Enabled = true;
    d.Array.EmitterType = pick(5) - 1;
    d.FreeSpaceModel = pick(2) == 0 ? TFieldModel::Window : TFieldModel::FreeSpace;
    d.ElevationDegrees = pick(2) == 0 ? pick(86) : 85 * unit(random);
    if (d.Array.EmitterType >= etVerticalDipole && pick(2) == 0) {
        d.Ground.Kind = pick(2) == 0 ? TGroundKind::Perfect : TGroundKind::Real;
        d.Ground.HeightWavelengths = unit(random);
        d.Ground.FrequencyMhz = 1 + 29 * unit(random);
        const TSoil& soil = kSoils[static_cast<std::size_t>(pick(std::size(kSoils)))];
        d.Ground.Permittivity = soil.Permittivity;
        d.Ground.Conductivity = soil.Conductivity;
        d.ElevationAtTakeoff = pick(2) == 0;
    }
    return d;
}

// Where the JSON holds a figure: its own key, or its place in the array its key shares.
const TJson& JsonFigure(const TJson& json, const TFigure& figure, std::size_t& place) {
    const TJson& group = figure.Group == TFigureGroup::Metrics ? json["metrics"] : json;
    if (figure.JsonKey.empty()) return group[std::string(figure.Key)];
    const TJson& shared = group[std::string(figure.JsonKey)];
    return shared.IsNull() ? shared : shared[place++];
}

// The figures panel's text of a JSON figure, from the same formatter the panel uses.
std::string PanelText(const TJson& value, int decimals) {
    return value.IsNull() ? "none" : FigureText(value.Number(), decimals);
}

TEST(StudioAgreementTest, EveryFigureTheStudioShowsIsTheCommandLinesOwn) {
    std::mt19937_64 random(20261209);
    int overGround = 0;
    for (int n = 0; n < kDocuments; ++n) {
        const TStudioDocument d = RandomDocument(random);
        const std::vector<TFigureRow> rows = FigureRowsOf(*Analyse(CaseOf(d, std::nullopt)).Result);
        const std::vector<std::string> args = OptionsOf(d);
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const TJson json = ParseJson(run.Out);
        overGround += d.Ground.Kind != TGroundKind::None;
        std::string where = "document " + std::to_string(n) + ":";
        for (const std::string& a : args) where += " " + a;
        std::size_t place = 0;
        std::string_view sharedKey;
        bool range = false;  // the figure before opened a range
        for (const TFigure& f : Figures()) {
            if (f.JsonKey != sharedKey) place = 0;
            sharedKey = f.JsonKey;
            if (range) {
                // The range's high end, compared as part of its row.
                range = false;
                continue;
            }
            range = f.CaptionFigures == 2;
            const auto row = std::find_if(rows.begin(), rows.end(),
                                          [&](const TFigureRow& r) { return r.Key == f.Key; });
            if (f.Group == TFigureGroup::Ground && d.Ground.Kind == TGroundKind::None) {
                EXPECT_EQ(row, rows.end()) << where;
                continue;
            }
            if (f.Group == TFigureGroup::Metrics && json["metrics"].IsNull()) {
                ASSERT_NE(row, rows.end()) << f.Key << " " << where;
                EXPECT_EQ(row->Value, "none") << f.Key << " " << where;
                continue;
            }
            ASSERT_NE(row, rows.end()) << f.Key << " " << where;
            const TJson& value = JsonFigure(json, f, place);
            if (f.CaptionFigures == 2 && !value.IsNull()) {
                const TFigure& high = *(&f + 1);
                const TJson& end = JsonFigure(json, high, place);
                EXPECT_EQ(row->Value, PanelText(value, f.Decimals) + "\u2026" +
                                          (end.IsNull() ? "" : PanelText(end, high.Decimals)))
                    << f.Key << " " << where;
                continue;
            }
            // JSON has no infinity: a ratio to a null's zero is written null there.
            if (value.IsNull() && (row->Value == "inf" || row->Value == "-inf")) continue;
            EXPECT_EQ(row->Value, PanelText(value, f.Decimals)) << f.Key << " " << where;
        }
        if (json["metrics"].IsNull()) continue;
        // One entry a line, as the command line's text gives them on one.
        std::string lobes;
        for (const TJson& b : json["metrics"]["main_lobes"].Items) {
            lobes += (lobes.empty() ? "" : "\n") + BearingText(b.Number());
        }
        std::string nulls;
        for (const TJson& null : json["metrics"]["nulls"].Items) {
            const TJson& depth = null["depth_db"];
            const bool deep = depth.IsNull() || null.Members.count("below_floor") != 0;
            nulls += (nulls.empty() ? "" : "\n") + BearingText(null["bearing"].Number()) + " (" +
                     (deep ? "below -120" : FigureText(depth.Number(), 2)) + " dB)";
        }
        const auto text = [&rows](const char* key) {
            return std::find_if(rows.begin(), rows.end(),
                                [key](const TFigureRow& r) { return r.Key == key; })
                ->Value;
        };
        EXPECT_EQ(text("main_lobes"), lobes.empty() ? "none" : lobes) << where;
        EXPECT_EQ(text("nulls"), nulls.empty() ? "none" : nulls) << where;
    }
    // The draw covers the grounds as well as free space.
    EXPECT_GT(overGround, kDocuments / 8);
}

// A phase in degrees is the current's angle in both faces: the cardioid's east element at
// -90 degrees lags and the beam goes east, at +90 it leads and the beam goes west.
TEST(StudioAgreementTest, APhaseInDegreesTurnsTheBeamAsTheStudiosTableDoes) {
    const std::string cardioid = std::string(ARRAYPATTERN_SOURCE_EXAMPLES) + "/cardioid.txt";
    for (const auto& [degrees, bearing] : {std::pair{-90, 90}, std::pair{90, 270}}) {
        TStudioDocument d = OpenDocument(cardioid).Document;
        d.Array.Emitter(2).Phase = PhaseFromDegrees(degrees);
        const TPatternResult studio = *Analyse(CaseOf(d, std::nullopt)).Result;
        const TCliRun run = RunCli({"pattern", "--format", "json", "--config", cardioid, "--set",
                                    "2:phase=" + std::to_string(degrees) + "deg"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const TJson cli = ParseJson(run.Out);
        EXPECT_EQ(DisplayedBearing(studio.Session.Pattern.MaxGainAngle), bearing) << degrees;
        EXPECT_EQ(cli["bearing"].Number(), bearing) << degrees;
        EXPECT_EQ(cli["emitters"][1]["phase"].Number(), d.Array.Emitter(2).Phase) << degrees;
        EXPECT_EQ(PhaseDegrees(d.Array.Emitter(2).Phase), degrees);
    }
}

// One design policy for both faces: the studio's front-to-back design of voltage-fed wires
// drives the command line's voltages, and a design that does not improve on its input is
// refused by both, each in its own words, the studio's document and the file left as they were.
TEST(StudioAgreementTest, BothFacesDesignTheSameVoltagesAndRefuseTheSameDesigns) {
    const std::string voltage =
        std::string(ARRAYPATTERN_SOURCE_EXAMPLES) + "/cardioid-verticals-voltage.txt";
    const TStudioDocument d = OpenDocument(voltage).Document;
    ASSERT_EQ(d.Wires.Feed, TFeed::Voltage);
    const TPatternResult analysis = *Analyse(CaseOf(d, std::nullopt)).Result;
    const int bearing = DisplayedBearing(analysis.Session.Pattern.MaxGainAngle);
    const TActionOutcome studio = DesignFor(d, analysis, TDesignGoal::FrontToBack, bearing, {});
    ASSERT_TRUE(studio.Document.has_value()) << studio.Message;
    TTempDir dir;
    const std::string out = dir.Path("designed.txt");
    const TCliRun run = RunCli({"design", "--config", voltage, "--goal", "front-to-back",
                                "--bearing", std::to_string(bearing), "--amplitudes", "fixed", out});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TArray written = OpenDocument(out).Document.Array;
    for (int k = 1; k <= 2; ++k) {
        const TEmitter& a = studio.Document->Array.Emitter(k);
        const TEmitter& b = written.Emitter(k);
        EXPECT_NEAR(static_cast<double>(a.Amplitude), static_cast<double>(b.Amplitude), 1e-9) << k;
        EXPECT_NEAR(static_cast<double>(a.Phase), static_cast<double>(b.Phase), 1e-9) << k;
    }
    // The voltages carry the designed currents: the ratio improved on the input's.
    const TPatternResult designed = *Analyse(CaseOf(*studio.Document, std::nullopt)).Result;
    EXPECT_GT(designed.Metrics->FrontToBackDb, analysis.Metrics->FrontToBackDb + 1);

    // A pair on a line beams alike to either side of it: at 70 the input's back is already
    // deeper than any excitation that keeps its beam there.
    const std::string cardioid = std::string(ARRAYPATTERN_SOURCE_EXAMPLES) + "/cardioid.txt";
    const TStudioDocument pair = OpenDocument(cardioid).Document;
    const TActionOutcome refused = DesignFor(pair, *Analyse(CaseOf(pair, std::nullopt)).Result,
                                             TDesignGoal::FrontToBack, 70, {});
    EXPECT_FALSE(refused.Document.has_value());
    EXPECT_EQ(refused.Message.rfind("The design does not improve on the array", 0), 0U)
        << refused.Message;
    const TCliRun cli = RunCli({"design", "--config", cardioid, "--goal", "front-to-back",
                                "--bearing", "70", dir.Path("refused.txt")});
    EXPECT_EQ(cli.ExitCode, 1);
    EXPECT_NE(cli.Err.find("does not improve on the input"), std::string::npos) << cli.Err;
}

}  // namespace
