#include "plot/diagram.h"

#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/rounding.h"
#include "model/trig.h"

namespace {

constexpr TColor kBlack{0, 0, 0};
constexpr TColor kRed{255, 0, 0};
constexpr TColor kBlue{0, 0, 255};

constexpr long double kThirtyDegrees = 0.5235987755982989L;  // radians

// A marker is 16 pixels across plus its pen and a one-digit number; a centre farther than
// this outside the target leaves no pixel on it.
constexpr long double kMarkerReach = 64;
// Bound of a curve point's distance from the centre (pixels): far beyond any target, and
// small enough that rounding never overflows whatever the sample.
constexpr long double kMaxCurveRadius = 1.0e6L;

struct TGeometry {
    int R = 0;
    int Cx = 0;
    int Cy = 0;
};

TGeometry Geometry(const TRect& clip, TDrawTarget target) {
    TGeometry g;
    if (target == dtExportImage) {
        g.R = 400;
        g.Cx = (clip.Left + clip.Right) / 2;
        g.Cy = (clip.Top + clip.Bottom) / 2;
    } else {
        g.R = 280;
        g.Cx = (clip.Right - clip.Left) - g.R - 8;
        g.Cy = (clip.Bottom - clip.Top) / 2;
    }
    return g;
}

bool Reaches(long double position, int low, int high) {
    return position >= low - kMarkerReach && position <= high + kMarkerReach;
}

void DrawGrid(TCanvas& surface, const TGeometry& g) {
    const int step = g.R / 10;
    for (int n = 10; n >= 1; --n) {
        const int d = n * step;
        surface.Ellipse(g.Cx + d, g.Cy + d, g.Cx - d, g.Cy - d);
    }
    const long double r = g.R;
    for (int n = 0; n <= 11; ++n) {
        const long double a = n * kThirtyDegrees;
        surface.MoveTo(g.Cx, g.Cy);
        surface.LineTo(static_cast<int>(RoundHalfEven(ExtSin(a) * r + g.Cx)),
                       static_cast<int>(RoundHalfEven(ExtCos(a) * r + g.Cy)));
    }
}

// One wavelength is 2R pixels, so the outer ring lies half a wavelength out.
void DrawMarkers(TCanvas& surface, const TGeometry& g, const TArray& array) {
    const TRect clip = surface.ClipRect();
    const long double r = g.R;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        if (!e.Enabled) {
            continue;
        }
        const long double px = e.X * 2 * r + g.Cx;
        const long double py = g.Cy - e.Y * 2 * r;
        // An emitter far off the plot would only be clipped away, and its position may not
        // even fit a pixel coordinate.
        if (!Reaches(px, clip.Left, clip.Right) || !Reaches(py, clip.Top, clip.Bottom)) {
            continue;
        }
        const int x = static_cast<int>(RoundHalfEven(px));
        const int y = static_cast<int>(RoundHalfEven(py));
        surface.Ellipse(x - 8, y - 8, x + 8, y + 8);
        const std::string t = FormatInteger(k);
        surface.TextOut(x - surface.TextWidth(t) / 2, y - surface.TextHeight(t) / 2, t);
    }
}

// Full scale, the outer ring, is the largest field of the pattern's model.
void DrawCurve(TCanvas& surface, const TGeometry& g, long double fullScale,
               const TPattern& pattern) {
    const long double scale = static_cast<long double>(g.R) / fullScale;
    for (int i = 0; i < kSampleCount; ++i) {
        const long double phi = i * kDegree;
        long double rho = scale * pattern.Samples[static_cast<unsigned>(i)];
        if (std::isnan(rho)) {
            rho = 0;
        } else if (rho > kMaxCurveRadius) {
            rho = kMaxCurveRadius;
        }
        const int x = g.Cx - static_cast<int>(RoundHalfEven(ExtSin(phi) * rho));
        const int y = static_cast<int>(RoundHalfEven(ExtCos(phi) * rho)) + g.Cy;
        if (i == 0) {
            surface.MoveTo(x, y);
        } else {
            surface.LineTo(x, y);
        }
    }
}

}  // namespace

long double ElevationDegrees(int trackMax, int trackPosition) {
    return static_cast<long double>((trackMax - trackPosition) * 90) /
           static_cast<long double>(trackMax + 1);
}

std::string GainReadout(const TPattern& p, std::string_view format) {
    return FormatMessage(
        format, {FormatFixed(p.MaxGain, 8, 3), FormatFixed(GainDecibels(p.MaxGain), 6, 2)});
}

TDiagramLabels DiagramLabels(const TPattern& p, long double elevationDegrees) {
    TDiagramLabels labels;
    labels.Elevation = "Угол места " + FormatGeneral(elevationDegrees) + " град.";
    labels.Gain = GainReadout(p, "%s  (%s дБ)");
    labels.Bearing = FormatGeneral(DisplayedBearing(p.MaxGainAngle));
    return labels;
}

TDiagramLabels DrawDiagram(TCanvas& surface, TDrawTarget target, const TArray& array,
                           const TPattern& pattern, long double elevationDegrees,
                           std::optional<long double> fullScale) {
    const bool picture = target == dtExportImage;
    const TRect clip = surface.ClipRect();
    surface.FillRect(clip);
    const TGeometry g = Geometry(clip, target);

    surface.SetPenColor(kBlack);
    surface.SetPenWidth(picture ? 3 : 1);
    DrawGrid(surface, g);

    surface.SetFontColor(kRed);
    surface.SetPenColor(kRed);
    DrawMarkers(surface, g, array);

    surface.SetPenColor(kBlue);
    surface.SetPenWidth(picture ? 5 : 3);

    // No emitter is on only while the one-emitter message is open: there is no scale then.
    const long double scale = fullScale.value_or(FullScale(array, pattern.Model));
    if (scale > 0) {
        DrawCurve(surface, g, scale, pattern);
    }
    return DiagramLabels(pattern, elevationDegrees);
}
