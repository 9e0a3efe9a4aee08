#include "app/arraywarnings.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "app/designpolicy.h"
#include "config/messages.h"
#include "config/numtext.h"

namespace {

// Bearings a tenth of a degree apart: far finer than any lobe of eight emitters is wide.
constexpr int kSamples = 3600;
// Two emitters closer than this (wavelengths) stand in one place.
constexpr long double kCoincidentWavelengths = 1e-9L;

std::vector<int> Enabled(const TArray& array) {
    std::vector<int> numbers;
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (array.Emitter(k).Enabled) numbers.push_back(k);
    }
    return numbers;
}

std::string NumberList(const std::vector<int>& numbers) {
    std::string text;
    for (const int k : numbers) text += (text.empty() ? "" : ", ") + FormatInteger(k);
    return text;
}

// |sum of a exp(j 2 pi (phase - r.u))| at each sampled bearing on the elevation's cone, the
// isotropic array factor: a warning is about the geometry and the excitation, not the element.
std::vector<double> ArrayFactor(const TArray& array, double elevationDegrees) {
    const double cosE = std::cos(elevationDegrees * std::numbers::pi / 180);
    std::vector<double> levels(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double b = 2 * std::numbers::pi * i / kSamples;
        const double ux = std::sin(b) * cosE;
        const double uy = std::cos(b) * cosE;
        std::complex<double> sum = 0;
        for (const TEmitter& e : array.Emitters) {
            if (!e.Enabled) continue;
            const double turns = static_cast<double>(e.Phase) - static_cast<double>(e.X) * ux -
                                 static_cast<double>(e.Y) * uy;
            sum += static_cast<double>(e.Amplitude) *
                   std::polar(1.0, 2 * std::numbers::pi * (turns - std::floor(turns)));
        }
        levels[static_cast<unsigned>(i)] = std::abs(sum);
    }
    return levels;
}

// Whether the enabled emitters lie on one straight line, and its direction (compass degrees)
// when they do and are not all in one place.
bool Collinear(const TArray& array, double& axisDegrees) {
    const std::vector<int> on = Enabled(array);
    const TEmitter* first = on.empty() ? nullptr : &array.Emitter(on.front());
    const TEmitter* far = first;
    long double reach = 0;
    for (const int k : on) {
        const TEmitter& e = array.Emitter(k);
        const long double d = std::hypot(e.X - first->X, e.Y - first->Y);
        if (d > reach) reach = d, far = &e;
    }
    if (reach <= kCoincidentWavelengths) return false;
    const long double dx = (far->X - first->X) / reach;
    const long double dy = (far->Y - first->Y) / reach;
    for (const int k : on) {
        const TEmitter& e = array.Emitter(k);
        if (std::fabs((e.X - first->X) * dy - (e.Y - first->Y) * dx) > 1e-9L * (1 + reach)) {
            return false;
        }
    }
    axisDegrees = static_cast<double>(std::atan2(dx, dy) * 180 / std::numbers::pi_v<long double>);
    return true;
}

double AngleApart(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360 - d);
}

// Beams of the array factor besides the main one and, for a line, its mirror image across the
// line, which the line cannot tell apart from it.
bool HasGratingLobe(const TArray& array, double elevationDegrees) {
    const std::vector<double> levels = ArrayFactor(array, elevationDegrees);
    const auto peak = std::max_element(levels.begin(), levels.end());
    if (!(*peak > 0)) return false;
    const double mainBearing = 360.0 * static_cast<double>(peak - levels.begin()) / kSamples;
    double axis = 0;
    const bool line = Collinear(array, axis);
    const double mirror = std::fmod(2 * axis - mainBearing + 720, 360.0);
    const double floor = *peak * std::pow(10.0, -kGratingLobeDb / 20);
    for (int i = 0; i < kSamples; ++i) {
        const double v = levels[static_cast<unsigned>(i)];
        const double before = levels[static_cast<unsigned>((i + kSamples - 1) % kSamples)];
        const double after = levels[static_cast<unsigned>((i + 1) % kSamples)];
        if (v < floor || v < before || v <= after) continue;
        const double bearing = 360.0 * i / kSamples;
        // A lobe is a different beam where it lies more than a sample or two from these.
        constexpr double kSame = 0.5;
        if (AngleApart(bearing, mainBearing) <= kSame) continue;
        if (line && AngleApart(bearing, mirror) <= kSame) continue;
        return true;
    }
    return false;
}

}  // namespace

std::optional<double> ExcitationSensitivityDb(const TArray& array, double elevationDegrees) {
    const std::vector<double> levels = ArrayFactor(array, elevationDegrees);
    const double peak = *std::max_element(levels.begin(), levels.end());
    double power = 0;
    int n = 0;
    for (const TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        power += std::norm(static_cast<double>(e.Amplitude));
        ++n;
    }
    if (!(peak > 0) || n == 0) return std::nullopt;
    return 10 * std::log10(n * power / (peak * peak));
}

std::vector<TArrayWarning> ArrayWarnings(const TArray& array, double elevationDegrees,
                                         const std::optional<TTaper>& taper) {
    std::vector<TArrayWarning> warnings;
    const std::vector<int> on = Enabled(array);
    for (std::size_t a = 0; a < on.size(); ++a) {
        for (std::size_t b = a + 1; b < on.size(); ++b) {
            const TEmitter& p = array.Emitter(on[a]);
            const TEmitter& q = array.Emitter(on[b]);
            if (std::hypot(p.X - q.X, p.Y - q.Y) > kCoincidentWavelengths) continue;
            warnings.push_back(
                {TArrayWarningKind::Coincident,
                 {on[a], on[b]},
                 TrFormat("emitters %s stand in one place", {NumberList({on[a], on[b]})})});
        }
    }
    if (on.size() > 1 && HasGratingLobe(array, elevationDegrees)) {
        warnings.push_back(
            {TArrayWarningKind::GratingLobe, on,
             Tr("a grating lobe: the spacing lets a second beam as strong as the main one into "
                "visible space at this steering")});
    }
    const std::optional<double> sensitivity = ExcitationSensitivityDb(array, elevationDegrees);
    if (on.size() > 1 && sensitivity && *sensitivity > static_cast<double>(kSuperDirectiveDb)) {
        warnings.push_back(
            {TArrayWarningKind::SuperDirective, on,
             TrFormat("super-directive: the currents are %s dB larger than the field they make; "
                      "the array will be lossy and narrow-band",
                      {FormatFixed(*sensitivity, 18, 1)})});
    }
    if (taper) {
        TArray tapered = array;
        if (const std::optional<TRefusal> refusal = ApplyTaper(tapered, *taper)) {
            warnings.push_back({TArrayWarningKind::TaperOffLine, on, RefusalText(*refusal)});
        }
    }
    return warnings;
}

std::optional<std::string> GroundModelWarning(const TArray& array, const TWireSettings& wires,
                                              const TFieldSpec& field) {
    const TGround& g = field.Ground;
    if (field.Model != TFieldModel::OverGround || g.Kind != TGroundKind::Real ||
        g.Model != TGroundModel::Reflection)
        return std::nullopt;
    // An upright wire's lowest point is its lower end.
    double lowest = 1e300;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto& length = wires.Lengths[static_cast<std::size_t>(k - 1)];
        if (!array.Emitter(k).Enabled || !length) continue;
        const double drop = array.EmitterType == etVerticalDipole ? *length / 2 : 0;
        lowest = std::min(lowest, static_cast<double>(g.HeightWavelengths) - drop);
    }
    if (!(lowest < kReflectionModelHeight)) return std::nullopt;
    return TrFormat(
        "wires come down to %s wavelength over real ground, below %s: the reflection model "
        "misjudges their currents there, where the Sommerfeld model holds",
        {FormatGeneral(lowest), FormatGeneral(kReflectionModelHeight)});
}
