#include "model/pattern.h"
#include "plot/diagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "form/clientsize.h"
#include "model/emitters.h"
#include "recordingcanvas.h"

namespace {

using TKind = TCanvasOp::TKind;

constexpr TRect kWindowClient{0, 0, kClientWidth, kClientHeight};
constexpr TRect kPicture{0, 0, 880, 880};
constexpr TColor kBlack{0, 0, 0};
constexpr TColor kRed{255, 0, 0};
constexpr TColor kBlue{0, 0, 255};

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(TPoint, TPoint) = default;
};

void PrintTo(TPoint p, std::ostream* os) {
    *os << "(" << p.X << ", " << p.Y << ")";
}

struct TTargetCase {
    TDrawTarget Target;
    TRect Clip;
    int R;
    TPoint Centre;
    int GridPen;
    int CurvePen;
    TPoint LobeAt225;
    std::vector<TPoint> Markers;  // emitters 1-4 of the initial table
};

const TTargetCase kWindowCase{dtWindow,   kWindowClient,
                              280,        {574, 303},
                              1,          3,
                              {772, 105}, {{714, 163}, {434, 163}, {714, 443}, {434, 443}}};
const TTargetCase kPictureCase{dtExportImage,
                               kPicture,
                               400,
                               {440, 440},
                               3,
                               5,
                               {723, 157},
                               {{640, 240}, {240, 240}, {640, 640}, {240, 640}}};

class DiagramTest : public ::testing::Test {
  protected:
    void SetUp() override { Model = MakeInitialArray(); }

    TDiagramLabels Draw(const TTargetCase& c, long double elevation = 0) {
        Canvas = TRecordingCanvas(c.Clip);
        const TPattern pattern = ComputePattern(Model, {TFieldModel::Window, elevation});
        return DrawDiagram(Canvas, c.Target, Model, pattern, elevation);
    }

    std::vector<TCanvasOp> OpsOf(TKind kind) const {
        std::vector<TCanvasOp> found;
        for (const TCanvasOp& op : Canvas.Ops()) {
            if (op.Kind == kind) found.push_back(op);
        }
        return found;
    }

    // The curve: the 361 points after the last pen width is set.
    std::vector<TPoint> Curve() const {
        const auto& ops = Canvas.Ops();
        std::size_t start = 0;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            if (ops[i].Kind == TKind::SetPenWidth) start = i + 1;
        }
        std::vector<TPoint> points;
        for (std::size_t i = start; i < ops.size(); ++i) {
            if (ops[i].Kind == TKind::MoveTo || ops[i].Kind == TKind::LineTo) {
                points.push_back({ops[i].A, ops[i].B});
            }
        }
        return points;
    }

    // Centres of the marker circles, 16 pixels across, with the text written on each.
    std::vector<std::pair<TPoint, std::string>> Markers() const {
        std::vector<std::pair<TPoint, std::string>> markers;
        const auto& ops = Canvas.Ops();
        for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
            if (ops[i].Kind == TKind::Ellipse && ops[i].C - ops[i].A == 16 &&
                ops[i + 1].Kind == TKind::TextOut) {
                markers.push_back({{ops[i].A + 8, ops[i].B + 8}, ops[i + 1].Text});
            }
        }
        return markers;
    }

    TDecimalMarkScope Comma;
    TArray Model;
    TRecordingCanvas Canvas{kWindowClient};
};

class DiagramTargetTest : public DiagramTest, public ::testing::WithParamInterface<TTargetCase> {};

TEST_P(DiagramTargetTest, ClearsTheWholeTargetWithTheBrushFirst) {
    const TTargetCase& c = GetParam();
    Draw(c);
    const TCanvasOp& first = Canvas.Ops().front();
    EXPECT_EQ(first.Kind, TKind::FillRect);
    EXPECT_EQ((TRect{first.A, first.B, first.C, first.D}), c.Clip);
}

TEST_P(DiagramTargetTest, RingsAreConcentricLargestFirstInTenthsOfTheRadius) {
    const TTargetCase& c = GetParam();
    Draw(c);
    const auto ellipses = OpsOf(TKind::Ellipse);
    ASSERT_GE(ellipses.size(), 10u);
    for (int n = 10; n >= 1; --n) {
        const TCanvasOp& e = ellipses[static_cast<std::size_t>(10 - n)];
        const int d = n * c.R / 10;
        EXPECT_EQ((TRect{e.A, e.B, e.C, e.D}),
                  (TRect{c.Centre.X + d, c.Centre.Y + d, c.Centre.X - d, c.Centre.Y - d}))
            << "ring " << n;
    }
}

TEST_P(DiagramTargetTest, PensAndColoursFollowTheDrawingOrder) {
    const TTargetCase& c = GetParam();
    Draw(c);
    std::vector<TCanvasOp> state;
    for (const TCanvasOp& op : Canvas.Ops()) {
        if (op.Kind == TKind::SetPenColor || op.Kind == TKind::SetPenWidth ||
            op.Kind == TKind::SetFontColor) {
            state.push_back(op);
        }
    }
    ASSERT_EQ(state.size(), 6u);
    EXPECT_EQ(state[0].Color, kBlack);
    EXPECT_EQ(state[1].A, c.GridPen);
    EXPECT_EQ(state[2].Kind, TKind::SetFontColor);
    EXPECT_EQ(state[2].Color, kRed);
    EXPECT_EQ(state[3].Color, kRed);
    EXPECT_EQ(state[4].Color, kBlue);
    EXPECT_EQ(state[5].A, c.CurvePen);
}

TEST_P(DiagramTargetTest, MarkersSitAtTheEmittersWithCentredNumbers) {
    const TTargetCase& c = GetParam();
    Draw(c);
    const auto markers = Markers();
    ASSERT_EQ(markers.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(markers[k].first, c.Markers[k]);
        EXPECT_EQ(markers[k].second, std::to_string(k + 1));
    }
    // One 6-pixel character, 13 pixels high: its cell starts 3 left and 6 up of the centre.
    const auto texts = OpsOf(TKind::TextOut);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ((TPoint{texts[0].A, texts[0].B}), (TPoint{c.Markers[0].X - 3, c.Markers[0].Y - 6}));
}

TEST_P(DiagramTargetTest, CurveIsOneClosedLineThroughTheMainLobe) {
    const TTargetCase& c = GetParam();
    Draw(c);
    const auto curve = Curve();
    ASSERT_EQ(curve.size(), 361u);
    EXPECT_EQ(curve[225], c.LobeAt225);
    const TCanvasOp& last = Canvas.Ops().back();
    EXPECT_EQ(last.Kind, TKind::LineTo);
}

TEST_P(DiagramTargetTest, SingleOmniEmitterDrawsTheOuterRing) {
    const TTargetCase& c = GetParam();
    for (int k = 2; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = false;
    Draw(c);
    const auto curve = Curve();
    ASSERT_EQ(curve.size(), 361u);
    for (const TPoint p : curve) {
        const double r = std::hypot(p.X - c.Centre.X, p.Y - c.Centre.Y);
        EXPECT_NEAR(r, c.R, 0.75) << p.X << ", " << p.Y;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, DiagramTargetTest, ::testing::Values(kWindowCase, kPictureCase),
                         [](const auto& info) {
                             return info.param.Target == dtWindow ? "Window" : "Picture";
                         });

TEST_F(DiagramTest, BearingLinesRadiateToTheTwelveCompassPoints) {
    Draw(kWindowCase);
    const std::vector<TPoint> ends{{574, 583}, {714, 545}, {816, 443}, {854, 303},
                                   {816, 163}, {714, 61},  {574, 23},  {434, 61},
                                   {332, 163}, {294, 303}, {332, 443}, {434, 545}};
    const auto moves = OpsOf(TKind::MoveTo);
    const auto lines = OpsOf(TKind::LineTo);
    ASSERT_GE(lines.size(), ends.size());
    for (std::size_t n = 0; n < ends.size(); ++n) {
        EXPECT_EQ((TPoint{moves[n].A, moves[n].B}), (TPoint{574, 303}));
        EXPECT_EQ((TPoint{lines[n].A, lines[n].B}), ends[n]) << "line " << n;
    }
}

TEST_F(DiagramTest, LabelsReadElevationMaximumAndBearing) {
    const TDiagramLabels labels = Draw(kWindowCase);
    EXPECT_EQ(labels.Elevation, "Угол места 0 град.");
    EXPECT_EQ(labels.Gain, "4,000  (6,02 дБ)");
    EXPECT_EQ(labels.Bearing, "45");
    EXPECT_EQ(Draw(kPictureCase).Gain, labels.Gain);
}

TEST_F(DiagramTest, ElevationFollowsTheSliderInStepsOfFiveDegrees) {
    const struct {
        int Position;
        long double Degrees;
        const char* Label;
    } cases[] = {{17, 0, "Угол места 0 град."},
                 {16, 5, "Угол места 5 град."},
                 {0, 85, "Угол места 85 град."}};
    for (const auto& c : cases) {
        EXPECT_EQ(ElevationDegrees(17, c.Position), c.Degrees);
        EXPECT_EQ(Draw(kWindowCase, ElevationDegrees(17, c.Position)).Elevation, c.Label);
    }
}

TEST_F(DiagramTest, DisabledEmittersGetNoMarkerAndNumbersFollowTheTable) {
    for (int k = 1; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = k == 2 || k == 7;
    Model.Emitter(7).X = 0.1L;
    Draw(kWindowCase);
    const auto markers = Markers();
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].second, "2");
    EXPECT_EQ(markers[1].second, "7");
    EXPECT_EQ(markers[1].first, (TPoint{630, 303}));
}

TEST_F(DiagramTest, MarkersAtTheEdgeAreDrawnAndThoseOffTheTargetSkipped) {
    for (int k = 2; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = false;
    Model.Emitter(1).Y = 0;
    const struct {
        long double X;
        const TTargetCase& Case;
        std::vector<TPoint> Expected;
    } cases[] = {
        {0.5L, kWindowCase, {{854, 303}}},
        {0.5L, kPictureCase, {{840, 440}}},
        {-1, kWindowCase, {{14, 303}}},
        {-1, kPictureCase, {}},
        {1e300L, kWindowCase, {}},
        {-1e300L, kPictureCase, {}},
        {std::numeric_limits<long double>::infinity(), kWindowCase, {}},
        {std::numeric_limits<long double>::quiet_NaN(), kPictureCase, {}},
    };
    for (const auto& c : cases) {
        Model.Emitter(1).X = c.X;
        ASSERT_NO_THROW(Draw(c.Case)) << static_cast<double>(c.X);
        std::vector<TPoint> centres;
        for (const auto& m : Markers()) centres.push_back(m.first);
        EXPECT_EQ(centres, c.Expected) << static_cast<double>(c.X);
        EXPECT_EQ(Curve().size(), 361u);
    }
}

TEST_F(DiagramTest, NoEnabledEmitterDrawsGridWithoutCurve) {
    for (TEmitter& e : Model.Emitters) e.Enabled = false;
    TDiagramLabels labels;
    ASSERT_NO_THROW(labels = Draw(kWindowCase));
    EXPECT_EQ(OpsOf(TKind::Ellipse).size(), 10u);
    EXPECT_EQ(OpsOf(TKind::LineTo).size(), 12u);
    EXPECT_EQ(Canvas.Ops().back().Kind, TKind::SetPenWidth);
    EXPECT_EQ(labels.Elevation, "Угол места 0 град.");
    EXPECT_FALSE(labels.Gain.empty());
}

}  // namespace
