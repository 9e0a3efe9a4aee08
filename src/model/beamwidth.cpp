#include "model/beamwidth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long double kSolveTolerance = 1e-9L;  // degrees

long double Sample(const TPattern& pattern, int index) {
    return pattern
        .Samples[static_cast<unsigned>((index % kCircleDegrees + kCircleDegrees) % kCircleDegrees)];
}

// The half-power point in one direction (step +1 or -1), unwrapped about the peak.
std::optional<long double> Edge(const TPattern& pattern, int peak, int step, long double level,
                                const std::function<long double(long double)>& value) {
    for (int k = 1; k < kCircleDegrees; ++k) {
        const long double below = Sample(pattern, peak + k * step);
        if (!(below < level)) continue;
        const long double above = Sample(pattern, peak + (k - 1) * step);
        const long double a = peak + (k - 1) * step;
        const long double b = peak + k * step;
        const auto f = [&](long double az) { return value(az) - level; };
        return SolveBracketed(f, a, b, above - level, below - level, kSolveTolerance);
    }
    return std::nullopt;
}

}  // namespace

long double SolveBracketed(const std::function<long double(long double)>& f, long double a,
                           long double b, long double fa, long double fb, long double tolerance) {
    if (fa == 0) return a;
    if (fb == 0) return b;
    long double c = a;
    long double fc = fa;
    long double d = b - a;
    long double e = d;
    for (int iteration = 0; iteration < 200; ++iteration) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const long double half = (c - b) / 2;
        if (std::fabs(half) <= tolerance / 2 || fb == 0) return b;
        if (std::fabs(e) >= tolerance / 2 && std::fabs(fa) > std::fabs(fb)) {
            // Inverse quadratic interpolation, or the secant when only two points differ.
            const long double s = fb / fa;
            long double p;
            long double q;
            if (a == c) {
                p = 2 * half * s;
                q = 1 - s;
            } else {
                const long double r = fb / fc;
                const long double t = fa / fc;
                p = s * (2 * half * t * (t - r) - (b - a) * (r - 1));
                q = (t - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            if (2 * p < std::min(3 * half * q - std::fabs(tolerance / 2 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = half;
                e = d;
            }
        } else {
            d = half;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tolerance / 2 ? d : (half > 0 ? tolerance / 2 : -tolerance / 2);
        fb = f(b);
    }
    return b;
}

std::optional<THalfPowerPoints> HalfPowerPoints(
    const TPattern& pattern, const std::function<long double(long double)>& value) {
    if (!(pattern.MaxGain > 0)) return std::nullopt;
    const int peak = pattern.MaxGainAngle % kCircleDegrees;
    const long double level = pattern.MaxGain * kHalfPowerRatio;
    const auto upper = Edge(pattern, peak, +1, level, value);
    const auto lower = Edge(pattern, peak, -1, level, value);
    if (!upper || !lower) return std::nullopt;
    return THalfPowerPoints{*lower, *upper};
}
