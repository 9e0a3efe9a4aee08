#include "app/frequencysweep.h"

#include <limits>

TArrayCase CaseAtFrequency(const TArrayCase& design, long double designMhz, long double mhz) {
    const long double scale = mhz / designMhz;
    TArrayCase step = design;
    for (TEmitter& e : step.Array.Emitters) {
        if (!e.Enabled) continue;
        e.X *= scale;
        e.Y *= scale;
    }
    for (auto& length : step.Wires.Lengths) {
        if (length) *length *= static_cast<double>(scale);
    }
    step.Wires.Radius *= static_cast<double>(scale);
    for (auto& radius : step.Wires.Radii) {
        if (radius) *radius *= static_cast<double>(scale);
    }
    TGround& ground = step.Field.Ground;
    if (ground.Kind != TGroundKind::None) ground.HeightWavelengths *= scale;
    ground.FrequencyMhz = mhz;
    step.WindowDrawings.clear();
    return step;
}

TDriveSweep SweepDrive(const TArrayCase& design, long double designMhz, long double span,
                       int count) {
    TDriveSweep sweep;
    if (!HasWireLengths(design.Wires, design.Array)) return sweep;
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < count; ++i) {
        const long double t = count > 1 ? static_cast<long double>(2 * i) / (count - 1) - 1 : 0;
        const long double mhz = designMhz * (1 + span * t);
        // Only the feeds are wanted: the wires solved as the analysis solves them, without
        // the pattern and its searches.
        const TArrayCase step = CaseAtFrequency(design, designMhz, mhz);
        const TGround ground =
            step.Field.Model == TFieldModel::OverGround ? step.Field.Ground : TGround{};
        if (CheckCoupling(step.Array, step.Wires, ground)) return {};
        const auto solved = SolveCoupling(step.Array, step.Wires, ground);
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
