#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "model/emitters.h"
#include "model/fieldengine.h"

// Below this argument the closed forms of the spherical Bessel functions lose digits to
// cancellation; the standard library's functions take over there.
inline constexpr double kClosedFormLimit = 1;

inline double SphericalJ0(double x) {
    return x < kClosedFormLimit ? std::sph_bessel(0, x) : std::sin(x) / x;
}

// j1(x) / x, 1/3 at 0.
inline double SphericalJ1OverX(double x) {
    if (x == 0) return 1.0 / 3;
    if (x < kClosedFormLimit) return std::sph_bessel(1, x) / x;
    return (std::sin(x) / x - std::cos(x)) / (x * x);
}

inline double SphericalJ2(double x) {
    if (x < kClosedFormLimit) return std::sph_bessel(2, x);
    const double x2 = x * x;
    return (3 / x2 - 1) * std::sin(x) / x - 3 * std::cos(x) / x2;
}

// The sphere mean of E^2 exp(-j 2 pi d.u) for the element factor E of the type, with d the
// separation (wavelengths) of a pair, east, north and up.
inline double PairIntegral(int type, double dx, double dy, double dz) {
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double x = 2 * TReal<double>::kPi * distance;
    if (!IsDipoleType(type)) {
        return SphericalJ0(x);
    }
    double along = 0;
    if (distance > 0 && type == etVerticalDipole) along = dz / distance;
    if (distance > 0 && type == etHorizontalDipoleNS) along = dx / distance;
    if (distance > 0 && type == etHorizontalDipoleWE) along = dy / distance;
    return SphericalJ0(x) - SphericalJ1OverX(x) + along * along * SphericalJ2(x);
}

// The enabled emitters in the fast path's precision with every amplitude divided by the power
// of two that brings the largest into [1, 2); an emitter whose phase the trigonometry drops
// gets amplitude 0, as it adds to no sample. Power sums over these neither overflow nor
// underflow for any amplitude, and a power of two changes no digit of their ratios.
struct TScaledSources {
    TSources<double> Sources;
    int Exponent = 0;  // each amplitude is 2^Exponent times its scaled one
};

inline TScaledSources ScaledSources(const TArray& array) {
    TScaledSources scaled{Sources<double>(array)};
    TSources<double>& s = scaled.Sources;
    std::array<long double, kEmitterCount> amplitude{};
    long double largest = 0;
    unsigned n = 0;
    for (const TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        if (InTrigReductionRange(2 * TReal<double>::kPi * s.Phase[n])) amplitude[n] = e.Amplitude;
        largest = std::max(largest, std::fabs(amplitude[n]));
        ++n;
    }
    if (largest > 0 && std::isfinite(largest)) scaled.Exponent = std::ilogb(largest);
    for (unsigned k = 0; k < n; ++k) {
        s.Amplitude[k] = static_cast<double>(std::scalbn(amplitude[k], -scaled.Exponent));
    }
    return scaled;
}
