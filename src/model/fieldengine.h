#pragma once

#include <array>
#include <cmath>
#include <complex>

#include "model/angles.h"
#include "model/emitters.h"
#include "model/field.h"
#include "model/trig.h"

// The one element factor and the one array sum, over the real type. The exact path is
// `long double` with the processor's sine and cosine, in the window's order of operations; it
// gives every value that is printed or drawn. The fast path is `double` for figures that are
// not shown sample by sample (searches, integrals); a test holds it to the exact one.

template <typename R>
struct TReal;

template <>
struct TReal<long double> {
    static constexpr long double kPi = ::kPi;
    static long double Sin(long double x) { return ExtSin(x); }
    static long double Cos(long double x) { return ExtCos(x); }
    static void SinCos(long double x, long double& sine, long double& cosine) {
        sine = ExtSin(x);
        cosine = ExtCos(x);
    }
};

template <>
struct TReal<double> {
    static constexpr double kPi = static_cast<double>(::kPi);
    static double Sin(double x) { return FastSin(x); }
    static double Cos(double x) { return FastCos(x); }
    // One call of the C library for both, which gives the bits of its sin and cos.
    static void SinCos(double x, double& sine, double& cosine) { FastSinCos(x, sine, cosine); }
};

// The enabled emitters in slot order, in the path's real type.
template <typename R>
struct TSources {
    int Count = 0;
    std::array<R, kEmitterCount> X{}, Y{}, Phase{}, Amplitude{};
};

template <typename R>
TSources<R> Sources(const TArray& array) {
    TSources<R> s;
    for (const TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        const auto n = static_cast<unsigned>(s.Count++);
        s.X[n] = static_cast<R>(e.X);
        s.Y[n] = static_cast<R>(e.Y);
        s.Phase[n] = static_cast<R>(e.Phase);
        s.Amplitude[n] = static_cast<R>(e.Amplitude);
    }
    return s;
}

// Everything in a field value that does not depend on the emitter: the direction's azimuth
// terms, the norm the path length is divided by, the factor on the horizontal projection and
// the element factor.
template <typename R>
struct TLook {
    R SinAz = 0;
    R CosAz = 0;
    R Length = 1;
    R Horizontal = 1;
    R Element = 1;
};

// A short dipole's factor sqrt(1 - (axis . u)^2) towards window azimuth az at elevation e,
// written with the horizontal component `along` of the axis so that at e = 0 it is exactly
// |along|. Type 2 lies west-east (its horizon pattern is |cos az|), type 3 north-south.
template <typename R>
R ElementFactor(int type, R sinAz, R cosAz, R cosE, R sinE) {
    const auto dipole = [&](R along) {
        const R horizontal = cosE * along;
        return std::sqrt(horizontal * horizontal + sinE * sinE);
    };
    switch (type) {
        case etVerticalDipole:
            // cos 90 degrees comes out as -2.7e-20 in extended precision: a factor is never
            // negative.
            return std::fabs(cosE);
        case etHorizontalDipoleNS:
            return dipole(cosAz);
        case etHorizontalDipoleWE:
            return dipole(sinAz);
        default:  // omni, and -1 when the radio group has no item selected
            return 1;
    }
}

// The elevation's sine and cosine as the formula takes them. The window's formula turns the
// slider's angle downwards (el = -E). Over ground, also what depends on the elevation alone:
// the phase factors exp(+-j psi), psi = 2 pi h sin e, of the direct and the reflected wave
// against the ground plane, and the reflection coefficients.
template <typename R>
struct TElevation {
    R Sin = 0;
    R Cos = 1;
    std::complex<R> Direct{1, 0};
    std::complex<R> Reflected{1, 0};
    TReflection<R> Reflect;
};

template <typename R>
TElevation<R> ElevationOfAngle(R sine, R cosine) {
    TElevation<R> el;
    el.Sin = sine;
    el.Cos = cosine;
    return el;
}

// An elevation above the horizon in free space or over the ground, of the angle's sine and
// cosine: those of whole degrees serve every elevation cut alike.
template <typename R>
TElevation<R> ElevationAbove(TFieldModel model, R sine, R cosine, const TGround& ground) {
    TElevation<R> el = ElevationOfAngle(sine, cosine);
    if (model == TFieldModel::OverGround) {
        const R psi = 2 * TReal<R>::kPi * static_cast<R>(ground.HeightWavelengths) * el.Sin;
        el.Direct = {TReal<R>::Cos(psi), TReal<R>::Sin(psi)};
        el.Reflected = std::conj(el.Direct);
        el.Reflect = Reflection<R>(ground, el.Sin);
    }
    return el;
}

template <typename R>
TElevation<R> Elevation(TFieldModel model, R degrees, const TGround& ground = {}) {
    if (model == TFieldModel::Window) {
        const R el = -degrees * TReal<R>::kPi / 180;
        return ElevationOfAngle(TReal<R>::Sin(el), TReal<R>::Cos(el));
    }
    const R e = degrees * TReal<R>::kPi / 180;
    return ElevationAbove(model, TReal<R>::Sin(e), TReal<R>::Cos(e), ground);
}

// The element's field over ground: the direct wave plus the wave reflected at the grazing
// angle e, each polarisation with its own coefficient. The short dipole's far field is split
// along the vertical unit vector of the plane of incidence (V, for the ray going up and for the
// mirrored ray going down) and the horizontal one across it (H).
template <typename R>
R GroundElementFactor(int type, R sinAz, R cosAz, const TElevation<R>& el) {
    R up = 0, down = 0, across = 0;
    switch (type) {
        case etVerticalDipole:
            up = down = std::fabs(el.Cos);
            break;
        case etHorizontalDipoleNS:  // along west-east
            up = el.Sin * sinAz;
            down = -up;
            across = -cosAz;
            break;
        case etHorizontalDipoleWE:  // along north-south
            up = el.Sin * cosAz;
            down = -up;
            across = sinAz;
            break;
        default:  // no polarisation: a vertical one, for want of another
            up = down = 1;
            break;
    }
    const std::complex<R> v = up * el.Direct + el.Reflect.Vertical * (down * el.Reflected);
    const std::complex<R> h = across * (el.Direct + el.Reflect.Horizontal * el.Reflected);
    return std::sqrt(std::norm(v) + std::norm(h));
}

// The look towards an azimuth of the given sine and cosine: those of the samples' whole
// degrees serve every pattern alike.
template <typename R>
TLook<R> LookAt(TFieldModel model, int type, R sinAz, R cosAz, const TElevation<R>& el) {
    TLook<R> look;
    look.SinAz = sinAz;
    look.CosAz = cosAz;
    const R horizon = look.SinAz * look.SinAz + look.CosAz * look.CosAz;
    switch (model) {
        case TFieldModel::Window:
            // The elevation enters the norm, and the element factor only of the vertical
            // dipole; horizontal dipoles keep their horizon factor.
            look.Length = std::sqrt(horizon + el.Sin * el.Sin);
            look.Element = type == etVerticalDipole
                               ? el.Cos
                               : ElementFactor<R>(type, look.SinAz, look.CosAz, 1, 0);
            break;
        case TFieldModel::FreeSpace:
            // The horizontal projection is cos e times the one at the horizon.
            look.Length = std::sqrt(horizon + R(0) * R(0));
            look.Horizontal = el.Cos;
            look.Element = ElementFactor<R>(type, look.SinAz, look.CosAz, el.Cos, el.Sin);
            break;
        case TFieldModel::OverGround:
            // Every emitter at the same height: the horizontal array factor times the
            // ground-and-element factor.
            look.Length = std::sqrt(horizon + R(0) * R(0));
            look.Horizontal = el.Cos;
            look.Element = GroundElementFactor<R>(type, look.SinAz, look.CosAz, el);
            break;
    }
    return look;
}

template <typename R>
TLook<R> Look(TFieldModel model, int type, R az, const TElevation<R>& el) {
    return LookAt(model, type, TReal<R>::Sin(az), TReal<R>::Cos(az), el);
}

// Path length in wavelengths of the emitter at (x, y) towards the look.
template <typename R>
R Projection(const TLook<R>& look, R x, R y) {
    return (x * look.SinAz + y * look.CosAz) / look.Length;
}

// |sum of a exp(j 2 pi (h p + phase))| over the sources: the array factor.
template <typename R>
R ArrayFactor(const TSources<R>& s, const TLook<R>& look) {
    R re = 0;
    R im = 0;
    for (unsigned n = 0; n < static_cast<unsigned>(s.Count); ++n) {
        const R p = Projection(look, s.X[n], s.Y[n]);
        const R t = (look.Horizontal * p + s.Phase[n]) * 2 * TReal<R>::kPi;
        R sine = 0;
        R cosine = 0;
        TReal<R>::SinCos(t, sine, cosine);
        re = re + s.Amplitude[n] * cosine;
        im = im + s.Amplitude[n] * sine;
    }
    return std::sqrt(re * re + im * im);
}

// The pattern's value towards the look.
template <typename R>
R FieldValueAt(const TSources<R>& s, const TLook<R>& look) {
    return look.Element * ArrayFactor(s, look);
}

// The pattern's value towards window azimuth az (radians; compass bearing az + 180 degrees).
template <typename R>
R FieldValueOf(const TSources<R>& s, TFieldModel model, int type, R az, const TElevation<R>& el) {
    return FieldValueAt(s, Look(model, type, az, el));
}
