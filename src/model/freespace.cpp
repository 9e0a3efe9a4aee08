#include "model/freespace.h"

#include <cmath>

#include "model/complex.h"
#include "model/direction.h"
#include "model/pattern.h"
#include "model/trig.h"

namespace {

// The axis factor of a short dipole, sqrt(1 - (axis . u)^2), written with the horizontal
// component `along` of the window's direction so that at elevation 0 it is exactly |along|.
long double DipoleFactor(long double cosE, long double sinE, long double along) {
    const long double horizontal = cosE * along;
    return std::sqrt(horizontal * horizontal + sinE * sinE);
}

long double ElementFactor(int type, long double cosE, long double sinE, const TDirection& d) {
    switch (type) {
        case etVerticalDipole:
            return cosE;
        case etHorizontalDipoleNS:  // along west-east: its horizon pattern is |cos az|
            return DipoleFactor(cosE, sinE, d.CosAz);
        case etHorizontalDipoleWE:
            return DipoleFactor(cosE, sinE, d.SinAz);
        default:
            return 1;
    }
}

}  // namespace

long double FreeSpaceValue(const TArrayModel& model, long double az, long double elevationDegrees) {
    const long double e = elevationDegrees * kPi / 180;
    const long double cosE = ExtCos(e);
    const long double sinE = ExtSin(e);
    // The horizontal projection is cos e times the window's projection at elevation 0.
    const TDirection d = Direction(az, 0);
    TComplex sum = MakeComplex(0, 0);
    for (const TEmitter& emitter : model.Emitters) {
        if (!emitter.Enabled) continue;
        const long double t =
            (cosE * Projection(d, emitter.X, emitter.Y) + emitter.Phase) * 2 * kPi;
        sum = AddComplex(sum, MakeComplex(ExtCos(t), ExtSin(t)));
    }
    return ElementFactor(model.EmitterType, cosE, sinE, d) * AbsComplex(sum);
}

long double FieldValue(const TArrayModel& model, TFieldModel field, long double az,
                       long double elevationDegrees) {
    return field == TFieldModel::Window ? PatternValue(model, az, elevationDegrees)
                                        : FreeSpaceValue(model, az, elevationDegrees);
}

void ComputeFieldPattern(TArrayModel& model, TFieldModel field, long double elevationDegrees) {
    if (field == TFieldModel::Window) {
        ComputePattern(model, elevationDegrees);
        return;
    }
    FillPattern(model.Pattern,
                [&](int i) { return FreeSpaceValue(model, i * kDegree, elevationDegrees); });
}

std::array<long double, kElevationCutCount> ElevationCut(const TArrayModel& model,
                                                         TFieldModel field, int bearing) {
    const long double az = ((bearing + 180) % 360) * kDegree;
    std::array<long double, kElevationCutCount> cut{};
    for (int e = 0; e < kElevationCutCount; ++e) {
        cut[static_cast<unsigned>(e)] = FieldValue(model, field, az, e);
    }
    return cut;
}
