#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/figures.h"
#include "model/angles.h"
#include "studio/comparison.h"
#include "studio/designactions.h"
#include "studio/presets.h"

// The design tools' edits of a document, headless: what each makes of the array and what it
// says, with the analysis the studio would hold.
namespace {

TPatternResult AnalysisOf(const TStudioDocument& d) {
    return *Analyse(CaseOf(d, std::nullopt)).Result;
}

int BeamBearing(const TStudioDocument& d) {
    return DisplayedBearing(AnalysisOf(d).Session.Pattern.MaxGainAngle);
}

// The initial square at half its size: a quarter wavelength apart, one beam wherever it is
// steered (at half a wavelength the back lobe equals the front towards a side).
TStudioDocument SmallSquare() {
    TStudioDocument d = InitialDocument();
    for (int k = 1; k <= 4; ++k) {
        d.Array.Emitter(k).X /= 2;
        d.Array.Emitter(k).Y /= 2;
    }
    return d;
}

// Four emitters on an east-west line, half a wavelength apart.
TStudioDocument Line() {
    TStudioDocument d = InitialDocument();
    for (int k = 1; k <= 4; ++k) {
        d.Array.Emitter(k).X = 0.5L * (k - 1);
        d.Array.Emitter(k).Y = 0;
        d.Array.Emitter(k).Phase = 0;
    }
    return d;
}

struct TSteerCase {
    const char* Name;
    int Bearing;
};

class SteerTest : public testing::TestWithParam<TSteerCase> {};

TEST_P(SteerTest, SteeringPutsTheBeamAtTheBearing) {
    const TActionOutcome outcome = SteerTo(SmallSquare(), GetParam().Bearing);
    ASSERT_TRUE(outcome.Document);
    EXPECT_EQ(BeamBearing(*outcome.Document), GetParam().Bearing);
    EXPECT_NEAR(*outcome.SensitivityDb, 0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Bearings, SteerTest,
                         testing::Values(TSteerCase{"North", 0}, TSteerCase{"East", 90},
                                         TSteerCase{"SouthWest", 225}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DesignActions, ATaperOffALineIsRefusedAndLeavesNoStep) {
    const TActionOutcome square = TaperWith(InitialDocument(), TTaper{TTaperKind::Chebyshev});
    EXPECT_FALSE(square.Document);
    EXPECT_FALSE(square.Message.empty());
    const TActionOutcome line = TaperWith(Line(), TTaper{TTaperKind::Binomial});
    ASSERT_TRUE(line.Document);
    EXPECT_EQ(line.Document->Array.Emitter(1).Amplitude, line.Document->Array.Emitter(4).Amplitude);
    EXPECT_LT(line.Document->Array.Emitter(1).Amplitude, line.Document->Array.Emitter(2).Amplitude);
}

TEST(DesignActions, NullsDesignedAtClickedBearingsAreDeepAndTheSensitivityIsSaid) {
    const TStudioDocument d = InitialDocument();
    const TActionOutcome outcome =
        DesignFor(d, AnalysisOf(d), TDesignGoal::Nulls, 45, {180.0L, 300.0L});
    ASSERT_TRUE(outcome.Document) << outcome.Message;
    const auto& samples = AnalysisOf(*outcome.Document).Session.Pattern;
    for (const int bearing : {180, 300}) {
        const long double level = samples.Samples[static_cast<std::size_t>((bearing + 180) % 360)];
        EXPECT_LT(20 * std::log10(level / samples.MaxGain), -60) << bearing;
    }
    EXPECT_NE(outcome.Message.find("sensitivity"), std::string::npos);
}

TEST(DesignActions, FrontToBackDesignRaisesTheRatioAtTheBearing) {
    TStudioDocument d = InitialDocument();
    d.Array.Emitter(3).Enabled = d.Array.Emitter(4).Enabled = false;
    const TPatternResult before = AnalysisOf(d);
    const int bearing = DisplayedBearing(before.Session.Pattern.MaxGainAngle);
    const TActionOutcome outcome = DesignFor(d, before, TDesignGoal::FrontToBack, bearing, {});
    ASSERT_TRUE(outcome.Document);
    EXPECT_GT(AnalysisOf(*outcome.Document).Metrics->FrontToBackDb, before.Metrics->FrontToBackDb);
}

TEST(Comparison, EveryFigureMovedIsSignedCurrentMinusReference) {
    const TStudioDocument d = *SteerTo(SmallSquare(), 45).Document;
    const TPatternResult steered = AnalysisOf(*SteerTo(d, 90).Document);
    bool signedRow = false;
    for (const TComparisonRow& row : ComparisonRowsOf(AnalysisOf(d), steered)) {
        if (row.Key == "bearing") {
            EXPECT_EQ(row.Reference, "45");
            EXPECT_EQ(row.Current, "90");
            EXPECT_EQ(row.Difference, "+45");
            signedRow = true;
        }
    }
    EXPECT_TRUE(signedRow);
}

TEST(Presets, TheShippedExamplesComeInTheirOrderAndMissingFoldersAreSkipped) {
    const auto presets = FindPresets({"/nonexistent", ARRAYPATTERN_SOURCE_EXAMPLES});
    ASSERT_GE(presets.size(), 6U);
    EXPECT_EQ(presets.front().Title, "Broadside pair");
    EXPECT_TRUE(presets.front().Path.ends_with("broadside-pair.txt"));
}

}  // namespace
