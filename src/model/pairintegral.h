#pragma once

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
    if (type != etVerticalDipole && type != etHorizontalDipoleNS && type != etHorizontalDipoleWE) {
        return SphericalJ0(x);
    }
    double along = 0;
    if (distance > 0 && type == etVerticalDipole) along = dz / distance;
    if (distance > 0 && type == etHorizontalDipoleNS) along = dx / distance;
    if (distance > 0 && type == etHorizontalDipoleWE) along = dy / distance;
    return SphericalJ0(x) - SphericalJ1OverX(x) + along * along * SphericalJ2(x);
}
