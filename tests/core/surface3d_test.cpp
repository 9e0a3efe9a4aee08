#include "plot/surface3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/analysis.h"

namespace {

constexpr int kPicture = 880;  // pixels a side

// As long as a taper and two grounds make the caption, in the longer of its languages.
const std::string kLongCaption =
    "модель over-ground, угол места 18,56 град., тип 1; сужение chebyshev:-30; реальная земля "
    "(εr 13, σ 0,005 См/м), 7,1 МГц, высота 0,25 λ; сужение taylor:-35:4; реальная земля (εr "
    "80, σ 5 См/м), 14,2 МГц, высота 0,5 λ; arraypattern-cli 2.3.0";

TSurfaceView From(double bearing, double elevation, double floorDb = -30, bool linear = false) {
    return {bearing, elevation, floorDb, linear};
}

// The first text outside the picture or on another, described; empty when there is none.
std::string Misplaced(const std::vector<TSurfaceText>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TSurfaceText& t = texts[i];
        if (t.Left < 0 || t.Top < 0 || t.Right > kPicture || t.Bottom > kPicture) {
            return "\"" + t.Text + "\" leaves the picture";
        }
        for (std::size_t j = 0; j < i; ++j) {
            const TSurfaceText& o = texts[j];
            if (o.Left < t.Right && t.Left < o.Right && o.Top < t.Bottom && t.Top < o.Bottom) {
                return "\"" + t.Text + "\" is on \"" + o.Text + "\"";
            }
        }
    }
    return "";
}

TEST(Surface3d, EveryTextLiesInsideThePictureAndClearOfTheOthersFromEveryView) {
    const std::pair<double, bool> scales[] = {{-30, false}, {-200, false}, {-1, true}};
    for (const std::string& caption : {std::string("model free-space; v1"), kLongCaption}) {
        for (const auto& [floor, linear] : scales) {
            for (int bearing = 0; bearing <= 360; bearing += 15) {
                for (int elevation = -90; elevation <= 90; elevation += 15) {
                    const auto texts = SurfaceTexts(From(bearing, elevation, floor, linear),
                                                    "four-square-over-average-ground.txt", caption);
                    ASSERT_EQ(Misplaced(texts), "")
                        << "view " << bearing << "," << elevation << " floor " << floor;
                }
            }
        }
    }
}

TEST(Surface3d, CaptionBreaksIntoLinesThatReadAsTheWhole) {
    std::vector<std::string> lines;
    for (const TSurfaceText& t : SurfaceTexts(From(0, 30), "t", kLongCaption)) {
        if (t.Size <= 10 && kLongCaption.find(t.Text) != std::string::npos) lines.push_back(t.Text);
    }
    ASSERT_GT(lines.size(), 1u);
    std::string joined = lines.front();
    for (std::size_t k = 1; k < lines.size(); ++k) joined += " " + lines[k];
    EXPECT_EQ(joined, kLongCaption);
}

TEST(Surface3d, CompassLettersShowExceptForAxesSeenEndOn) {
    const auto letters = [](double bearing, double elevation) {
        std::string shown;
        for (const TSurfaceText& t : SurfaceTexts(From(bearing, elevation), "", "")) {
            if (t.Text.size() == 1 && std::string("NESW").find(t.Text) != std::string::npos) {
                shown += t.Text;
            }
        }
        return shown;
    };
    EXPECT_EQ(letters(0, 90), "NESW");
    EXPECT_EQ(letters(0, 30), "NESW");
    EXPECT_EQ(letters(0, 0), "EW");
    EXPECT_EQ(letters(90, -5), "NS");
}

TEST(Surface3d, ScaleIsTickedAtRoundLevelsDownToTheFloor) {
    const std::pair<double, std::vector<double>> rows[] = {{-30, {0, -10, -20, -30}},
                                                           {-40, {0, -10, -20, -30, -40}},
                                                           {-15, {0, -5, -10, -15}},
                                                           {-37, {0, -10, -20, -30}},
                                                           {-1, {0, -1}},
                                                           {-200, {0, -50, -100, -150, -200}}};
    for (const auto& [floor, ticks] : rows) {
        EXPECT_EQ(ScaleTicks(From(0, 30, floor)), ticks) << floor;
        EXPECT_FALSE(std::signbit(ScaleTicks(From(0, 30, floor)).front())) << floor;
    }
    EXPECT_EQ(ScaleTicks(From(0, 30, -30, true)), (std::vector<double>{1, 0.75, 0.5, 0.25, 0}));
}

// The four-square: vertical dipoles on a square a quarter wavelength across, in phase
// quadrature, its beam at bearing 45.
TArrayCase FourSquare() {
    TArrayCase c;
    c.Array = MakeInitialArray();
    c.Array.EmitterType = etVerticalDipole;
    const long double at[4][3] = {{-0.125L, -0.125L, 0},
                                  {0.125L, -0.125L, 0.25L},
                                  {-0.125L, 0.125L, 0.25L},
                                  {0.125L, 0.125L, 0.5L}};
    for (int n = 1; n <= kEmitterCount; ++n) {
        TEmitter& e = c.Array.Emitter(n);
        e.Enabled = n <= 4;
        if (n > 4) continue;
        e.X = at[n - 1][0];
        e.Y = at[n - 1][1];
        e.Phase = at[n - 1][2];
        e.Amplitude = 1;
    }
    return c;
}

TEST(Surface3d, DefaultViewStandsBesideTheBeamAndTheFootNamesTheSurfacesModel) {
    const TChartArray window = ChartArrayOf(*Analyse(FourSquare()).Result);
    EXPECT_EQ(ViewerBearing(ChosenView(window.View, {})), 105);
    EXPECT_EQ(ViewerBearing(ChosenView(window.View, From(10, -20))), 10);
    TSurfaceView nearNorth;
    nearNorth.Subject.BeamBearing = 330;
    EXPECT_EQ(ViewerBearing(nearNorth), 30);
    EXPECT_EQ(window.Caption.rfind("model window, ", 0), 0u) << window.Caption;
    const std::string& foot = ChosenView(window.View, From(10, -20)).Subject.Conditions;
    EXPECT_EQ(foot.rfind("model free-space, ", 0), 0u) << foot;
    TArrayCase overGround = FourSquare();
    TGround perfect;
    perfect.Kind = TGroundKind::Perfect;
    perfect.HeightWavelengths = 0.25L;
    overGround.Field = {TFieldModel::OverGround, 0, perfect};
    overGround.ElevationAtTakeoff = true;
    const TChartArray ground = ChartArrayOf(*Analyse(overGround).Result);
    EXPECT_EQ(ground.View.Subject.Conditions, ground.Caption);
    EXPECT_EQ(ground.Caption.rfind("model over-ground, ", 0), 0u) << ground.Caption;
}

// Pixels of pure black, which the colour scale never takes, away from every text (the
// letters' rims, the scale's ticks): the emitters' marks.
int EmitterMarkPixels(const std::string& bmp, const std::vector<TSurfaceText>& texts) {
    constexpr double kRim = 8;
    const auto rows = reinterpret_cast<const std::uint8_t*>(bmp.data()) + 54;
    int count = 0;
    for (int y = 0; y < kPicture; ++y) {
        for (int x = 0; x < kPicture; ++x) {
            const std::uint8_t* p = rows + ((kPicture - 1 - y) * kPicture + x) * 4;
            if (p[0] != 0 || p[1] != 0 || p[2] != 0) continue;
            count += std::none_of(texts.begin(), texts.end(), [&](const TSurfaceText& t) {
                return x > t.Left - kRim && x < t.Right + kRim && y > t.Top - kRim &&
                       y < t.Bottom + kRim;
            });
        }
    }
    return count;
}

TEST(Surface3d, EmittersShowOverTheSurfaceInEveryModel) {
    const TPatternResult result = *Analyse(FourSquare()).Result;
    const TArray& array = result.Session.Model;
    for (const TFieldSpec& model :
         {TFieldSpec{TFieldModel::FreeSpace},
          TFieldSpec{TFieldModel::OverGround, 0, {TGroundKind::Perfect, 0.25L}}}) {
        const TSphereGrid grid = SampleSphere(array, model, 4);
        for (const double elevation : {30.0, 90.0, -60.0}) {
            const std::string bmp = SurfacePictureBytes(grid, array, From(200, elevation), "t", "c",
                                                        TPictureFormat::Bmp);
            EXPECT_GE(EmitterMarkPixels(bmp, SurfaceTexts(From(200, elevation), "t", "c")), 4 * 20)
                << FieldModelName(model.Model) << " from elevation " << elevation;
        }
    }
}

}  // namespace
