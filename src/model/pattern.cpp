#include "model/pattern.h"

#include <cmath>

#include "model/complex.h"
#include "model/trig.h"

namespace {

// The direction (sin az, cos az, sin el) and its length: everything in a path length that does
// not depend on the emitter. Both PathLength and the pattern loop go through it, so computing
// it once per sample gives the very same values as computing it once per emitter.
struct TDirection {
    long double SinAz;
    long double CosAz;
    long double Length;
};

TDirection Direction(long double az, long double sinEl) {
    const long double e = ExtSin(az);
    const long double f = ExtCos(az);
    return TDirection{e, f, std::sqrt(e * e + f * f + sinEl * sinEl)};
}

long double Projection(const TDirection& d, long double x, long double y) {
    return (x * d.SinAz + y * d.CosAz) / d.Length;
}

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

}  // namespace

long double PathLength(long double az, long double el, long double x, long double y) {
    return Projection(Direction(az, ExtSin(el)), x, y);
}

void ComputePattern(TArrayModel& model, long double elevationDegrees) {
    const long double el = -elevationDegrees * kPi / 180;
    const long double sinEl = ExtSin(el);
    const long double cosEl = ExtCos(el);
    TPattern& pattern = model.Pattern;
    pattern.MaxGain = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        const TDirection d = Direction(i * kDegree, sinEl);
        TComplex sum = MakeComplex(0, 0);
        for (const TEmitter& emitter : model.Emitters) {
            if (!emitter.Enabled) continue;
            const long double t = (Projection(d, emitter.X, emitter.Y) + emitter.Phase) * 2 * kPi;
            sum = AddComplex(sum, MakeComplex(ExtCos(t), ExtSin(t)));
        }
        const long double v = ElementFactor(model.EmitterType, AbsComplex(sum), cosEl, d);
        pattern.Samples[static_cast<unsigned>(i)] = v;
        if (v > pattern.MaxGain) {
            pattern.MaxGain = v;
            pattern.MaxGainAngle = i;
        }
    }
}

long double GainDecibels(long double m) {
    return 10 * std::log10(m + 1e-11L);
}

int DisplayedBearing(int maxGainAngle) {
    return (maxGainAngle + 540) % 360;
}
