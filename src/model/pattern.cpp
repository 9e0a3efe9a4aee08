#include "model/pattern.h"

#include <cmath>

#include "model/complex.h"
#include "model/direction.h"
#include "model/trig.h"

namespace {

long double ElementFactor(int type, long double v, long double cosEl, const TDirection& d) {
    switch (type) {
        case etVerticalDipole:
            return cosEl * v;
        case etHorizontalDipoleNS:
            return std::fabs(d.CosAz * v);
        case etHorizontalDipoleWE:
            return std::fabs(d.SinAz * v);
        default:  // omni, and -1 when the radio group has no item selected
            return v;
    }
}

long double ElevationRadians(long double elevationDegrees) {
    return -elevationDegrees * kPi / 180;
}

long double Value(const TArrayModel& model, long double az, long double sinEl, long double cosEl) {
    const TDirection d = Direction(az, sinEl);
    TComplex sum = MakeComplex(0, 0);
    for (const TEmitter& emitter : model.Emitters) {
        if (!emitter.Enabled) continue;
        const long double t = (Projection(d, emitter.X, emitter.Y) + emitter.Phase) * 2 * kPi;
        sum = AddComplex(sum, MakeComplex(ExtCos(t), ExtSin(t)));
    }
    return ElementFactor(model.EmitterType, AbsComplex(sum), cosEl, d);
}

}  // namespace

long double PathLength(long double az, long double el, long double x, long double y) {
    return Projection(Direction(az, ExtSin(el)), x, y);
}

long double PatternValue(const TArrayModel& model, long double az, long double elevationDegrees) {
    const long double el = ElevationRadians(elevationDegrees);
    return Value(model, az, ExtSin(el), ExtCos(el));
}

void ComputePattern(TArrayModel& model, long double elevationDegrees) {
    const long double el = ElevationRadians(elevationDegrees);
    const long double sinEl = ExtSin(el);
    const long double cosEl = ExtCos(el);
    FillPattern(model.Pattern, [&](int i) { return Value(model, i * kDegree, sinEl, cosEl); });
}

long double GainDecibels(long double m) {
    return 10 * std::log10(m + 1e-11L);
}

int DisplayedBearing(int maxGainAngle) {
    return (maxGainAngle + 540) % 360;
}
