#include "app/frequencysweep.h"

#include <limits>

#include "app/wireanalysis.h"

TDesignFrequencyArray ArrayAtDesign(const TAnalysisRequest& request) {
    const TArraySession session = BuildSession(request.Steps);
    TDesignFrequencyArray d{session.Model, {}, ResolveGround(request.Ground, session.FileGround)};
    d.Wires = WireKeysToSave(request, d.Array, d.Ground);
    return d;
}

TAnalysisRequest FrequencyStep(const TAnalysisRequest& request, const TDesignFrequencyArray& design,
                               long double mhz) {
    const long double scale = mhz / *request.Ground.FrequencyMhz;
    TAnalysisRequest step = request;
    step.Steps.FocusBearing.reset();
    step.Steps.Taper.reset();
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = design.Array.Emitter(k);
        if (!e.Enabled) continue;
        step.Steps.Settings.push_back({k, TEmitterField::X, e.X * scale});
        step.Steps.Settings.push_back({k, TEmitterField::Y, e.Y * scale});
        step.Steps.Settings.push_back({k, TEmitterField::Phase, e.Phase});
        step.Steps.Settings.push_back({k, TEmitterField::Amplitude, e.Amplitude});
    }
    TWireRequest& wires = step.Wires;
    wires.AllLengths.reset();
    for (std::size_t i = 0; i < wires.Lengths.size(); ++i) {
        const auto& length = design.Wires.Settings.Lengths[i];
        wires.Lengths[i] = length ? std::optional(*length * static_cast<double>(scale)) : length;
    }
    wires.Radius = design.Wires.Settings.Radius * static_cast<double>(scale);
    wires.Feed = design.Wires.Settings.Feed;
    if (design.Ground.Kind != TGroundKind::None) {
        step.Ground.Kind = design.Ground.Kind;
        step.Ground.HeightWavelengths = design.Ground.HeightWavelengths * scale;
        if (design.Ground.Kind == TGroundKind::Real) {
            step.Ground.Permittivity = design.Ground.Permittivity;
            step.Ground.Conductivity = design.Ground.Conductivity;
        }
    }
    step.Ground.FrequencyMhz = mhz;
    return step;
}

TDriveSweep SweepDrive(const TAnalysisRequest& request, long double span, int count) {
    TDriveSweep sweep;
    const TDesignFrequencyArray design = ArrayAtDesign(request);
    if (!HasWireLengths(request, design.Array)) return sweep;
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < count; ++i) {
        const long double t = count > 1 ? static_cast<long double>(2 * i) / (count - 1) - 1 : 0;
        const long double mhz = *request.Ground.FrequencyMhz * (1 + span * t);
        // Only the feeds are wanted: the wires solved as the analysis solves them, without
        // the pattern and its searches.
        const TDesignFrequencyArray step = ArrayAtDesign(FrequencyStep(request, design, mhz));
        const auto solved = SolveCoupling(step.Array, step.Wires.Settings, step.Ground);
        if (!solved) return {};
        const TCoupling& c = solved->Coupling;
        if (sweep.Emitters.empty()) {
            for (const TEmitterFeed& e : c.Emitters) sweep.Emitters.push_back(e.Number);
            sweep.Swr.resize(c.Emitters.size());
            sweep.DriveROhm.resize(c.Emitters.size());
        }
        sweep.FrequenciesMhz.push_back(static_cast<double>(mhz));
        for (std::size_t k = 0; k < c.Emitters.size(); ++k) {
            const TDrive& d = c.Emitters[k].Drive;
            sweep.Swr[k].push_back(d.Swr.value_or(kNone));
            sweep.DriveROhm[k].push_back(d.Impedance ? d.Impedance->real() : kNone);
        }
    }
    return sweep;
}
