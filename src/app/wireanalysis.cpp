#include "app/wireanalysis.h"

#include <cmath>
#include <tuple>

#include "app/analysis.h"
#include "app/arraycase.h"
#include "app/figures.h"
#include "app/inputerror.h"
#include "app/validity.h"
#include "config/inifile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "config/wirekeys.h"
#include "plot/diagram.h"

namespace {

// How far the power radiated may part from the power fed where nothing is lost before the
// figures are refused. The reduced kernel's resistance parts from the far field's by the
// square of the radius in wavelengths (0.05 % for 0.005 wavelength tubing); the validity
// report warns from kMaxPowerImbalance on, and beyond this the currents are not the wires'.
constexpr double kPowerBalance = 0.01;

std::string Emitter(int k) {
    return FormatInteger(k);
}

// The half-power elevations either side of the take-off angle on the cut through it, in
// steps of 0.1 degree: the horizon or the zenith where the lobe reaches them.
std::pair<long double, long double> HalfPower(const TCoupledArray& wires, const TWirePeak& peak) {
    const auto cut = [&](long double e) {
        return WirePatternFunction(wires, static_cast<double>(e))(peak.BearingDegrees + 180);
    };
    const long double half = std::pow(10.0L, (peak.GainDbi - 3.0103) / 20);
    long double low = peak.ElevationDegrees, high = peak.ElevationDegrees;
    // Tenths of a degree, tried ten at a time: the lobe's edge is crossed once.
    const auto edge = [&](long double e, long double step) {
        const auto open = [step](long double x) { return step < 0 ? x > 0 : x < 90; };
        for (;;) {
            long double far = e;
            bool ok = true;
            for (int i = 0; i < 10 && ok; ++i) {
                ok = open(far);
                far += step;
            }
            if (!ok || !(cut(far) >= half)) break;
            e = far;
        }
        while (open(e) && cut(e + step) >= half) e += step;
        return e;
    };
    low = edge(low, -0.1L);
    high = edge(high, 0.1L);
    return {std::max(0.0L, low), std::min(90.0L, high)};
}

}  // namespace

TWireKeys WireKeysOver(TWireKeys keys, const TWireRequest& w) {
    TWireSettings& s = keys.Settings;
    for (int k = 0; k < kEmitterCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (w.AllLengths) s.Lengths[i] = *w.AllLengths;
        if (w.Lengths[i]) s.Lengths[i] = *w.Lengths[i];
        // One radius for all replaces the file's own radii, an emitter's replaces that.
        if (w.Radius) s.Radii[i].reset();
        if (w.Radii[i]) s.Radii[i] = *w.Radii[i];
    }
    if (w.Radius) s.Radius = *w.Radius;
    if (w.SegmentsPerWavelength) s.SegmentsPerWavelength = *w.SegmentsPerWavelength;
    if (w.Feed) s.Feed = *w.Feed;
    if (w.Z0) s.Z0 = *w.Z0;
    keys.RadiusGiven = keys.RadiusGiven || w.Radius.has_value();
    keys.FeedGiven = keys.FeedGiven || w.Feed.has_value();
    keys.Z0Given = keys.Z0Given || w.Z0.has_value();
    if (w.GroundModel) keys.GroundModel = w.GroundModel;
    return keys;
}

std::string WireKeyFaultText(const TWireKeyFault& f, const std::string& fileName) {
    const std::string place = DisplayName(fileName) + ":" + std::to_string(f.Line);
    switch (f.Kind) {
        case TWireKeyFault::Length:
            return TrFormat("%s: invalid length %s of emitter %s: wavelengths, 0.005 to 2",
                            {place, DisplayName(f.Value), Emitter(f.Emitter)});
        case TWireKeyFault::Radius:
            return TrFormat("%s: invalid radius %s: wavelengths, at least 1e-10",
                            {place, DisplayName(f.Value)});
        case TWireKeyFault::GroundModel:
            return TrFormat(
                "%s: invalid ground model %s: %s",
                {place, DisplayName(f.Value), NameList<TGroundModel>(kGroundModelNames)});
        case TWireKeyFault::Z0:
            return TrFormat("%s: invalid Z0 %s: ohms, more than 0 and up to 10000",
                            {place, DisplayName(f.Value)});
        case TWireKeyFault::Frequency:
            return TrFormat("%s: invalid frequency %s: MHz, more than 0 and up to 1000000",
                            {place, DisplayName(f.Value)});
        case TWireKeyFault::Elevation:
            return TrFormat("%s: invalid elevation %s: degrees, 0 to 85",
                            {place, DisplayName(f.Value)});
        case TWireKeyFault::Formula:
            return TrFormat(
                "%s: invalid formula %s: %s",
                {place, DisplayName(f.Value), NameList<TFieldModel>(kChosenModelNames)});
        case TWireKeyFault::Feed:
            break;
    }
    return TrFormat("%s: invalid feed %s: 0 (current) or 1 (voltage)",
                    {place, DisplayName(f.Value)});
}

bool HasWireLengths(const TWireSettings& settings, const TArray& array) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (array.Emitter(k).Enabled && settings.Lengths[static_cast<std::size_t>(k - 1)])
            return true;
    }
    return false;
}

std::optional<TCaseFault> AnalyseWires(const TArrayCase& arrayCase, TPatternResult& result) {
    const TWireSettings& settings = arrayCase.Wires;
    const TArray& array = result.Session.Model;
    const bool over = result.Field.Model == TFieldModel::OverGround;
    const TGround ground = over ? result.Field.Ground : TGround{};
    TCaseFault fault;
    if (const auto why = CheckCoupling(array, settings, ground)) {
        fault.Kind = TCaseFault::Wires;
        fault.Coupling = *why;
        return fault;
    }
    if (!HasWireLengths(settings, array)) return std::nullopt;
    if (result.Field.Model == TFieldModel::Window) {
        fault.Kind = TCaseFault::WindowWires;
        return fault;
    }
    auto solved = SolveCoupling(array, settings, ground);
    if (!solved) return std::nullopt;
    const TCoupling& fed = solved->Coupling;
    // Without loss the power radiated is the power fed; where the two part, the thin-wire
    // model's currents are not the wires' and every figure from them would mislead.
    const bool lossless = !over || ground.Kind == TGroundKind::Perfect;
    if (lossless && fed.InputPowerWatts > 0 && !(std::fabs(fed.Efficiency - 1) <= kPowerBalance)) {
        fault.Kind = TCaseFault::ThinWireModel;
        fault.Value = fed.Efficiency;
        return fault;
    }
    TWireResult& wires = result.Wires;
    wires.Settings = settings;
    wires.Solved = std::make_shared<const TCoupledArray>(std::move(*solved));
    const TCoupledArray& w = *wires.Solved;
    // Where the model is out of its depth the figures still come, with a warning each.
    wires.Validity = CheckValidity(w);
    for (const TValidityRule& rule : wires.Validity.Rules) {
        if (rule.Emitters.empty()) continue;
        result.Session.Warnings.push_back(ValidityWarning(rule));
        ++result.Session.WarningCount;
    }
    // Feeds that carry nothing radiate nothing: no peak, take-off or directivity to give.
    const bool radiates = w.Coupling.InputPowerWatts > 0;
    if (radiates) wires.Peak = WirePeakGain(w);
    if (over && arrayCase.ElevationAtTakeoff && radiates)
        result.Field.ElevationDegrees = wires.Peak.ElevationDegrees;
    const double elevation = static_cast<double>(result.Field.ElevationDegrees);
    TArraySession& session = result.Session;
    session.Field = result.Field;
    session.Pattern = WirePattern(w, elevation);
    session.Labels = DiagramLabels(session.Pattern, result.Field.ElevationDegrees);
    result.CutBearing =
        arrayCase.CutBearing.value_or(DisplayedBearing(session.Pattern.MaxGainAngle));
    result.CutField = result.Field;
    result.Cut = WireElevationCut(w, result.CutBearing);
    if (!radiates) return std::nullopt;
    result.Metrics = ComputeMetrics(session.Pattern, WirePatternFunction(w, elevation));
    // Directivity against the radiated power, gain against the power the feeds deliver.
    const long double loss = -10 * std::log10(static_cast<long double>(w.Coupling.Efficiency));
    TDirectivity d;
    d.HorizonDbi = 20 * std::log10(WirePattern(w, 0).MaxGain) + loss;
    d.PeakDbi = wires.Peak.GainDbi + loss;
    d.PeakBearingDegrees = wires.Peak.BearingDegrees;
    d.PeakElevationDegrees = wires.Peak.ElevationDegrees;
    result.Directivity = d;
    if (over) {
        TGroundFigures g;
        g.TakeoffElevationDegrees = wires.Peak.ElevationDegrees;
        g.PeakBearingDegrees = wires.Peak.BearingDegrees;
        std::tie(g.TakeoffLowDegrees, g.TakeoffHighDegrees) = HalfPower(w, wires.Peak);
        g.SpaceWaveDirectivityDbi = wires.Peak.GainDbi + loss;
        g.UpperHalfSpacePower = w.Coupling.RadiatedPowerWatts;
        g.GainDbi = wires.Peak.GainDbi;
        result.GroundFigures = g;
    }
    return std::nullopt;
}
