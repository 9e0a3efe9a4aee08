#pragma once

#include <cmath>
#include <complex>
#include <string_view>

#include "model/named.h"

// The flat earth below the array's plane.
enum class TGroundKind {
    None,     // free space
    Perfect,  // a perfect conductor: image theory
    Real,     // a lossy dielectric, by its permittivity and conductivity at a frequency
};

inline constexpr TNamed<TGroundKind> kGroundKindNames[] = {
    {"none", TGroundKind::None}, {"perfect", TGroundKind::Perfect}, {"real", TGroundKind::Real}};

// How the wires' currents see real ground: the Sommerfeld integrals of the lossy half-space
// (NEC-2's GN 2), or each image weighted by the Fresnel coefficient at the specular angle
// (NEC-2's GN 0), sound only for wires a fifth of a wavelength up or more. The far field is
// the space wave with the Fresnel coefficients under both, and ideal emitters always use it.
enum class TGroundModel {
    Sommerfeld,
    Reflection,
};

inline constexpr TNamed<TGroundModel> kGroundModelNames[] = {
    {"sommerfeld", TGroundModel::Sommerfeld}, {"reflection", TGroundModel::Reflection}};

// Beyond these the Sommerfeld tables are not built: a conductivity above kMaxSommerfeldConductivity
// (S/m) or a permittivity above kMaxSommerfeldPermittivity is a perfect ground to the wires'
// currents; the far field still takes the Fresnel coefficients of the soil as given.
inline constexpr long double kMaxSommerfeldConductivity = 100;
inline constexpr long double kMaxSommerfeldPermittivity = 100;

struct TGround {
    TGroundKind Kind = TGroundKind::None;
    long double HeightWavelengths = 0;  // of the array's plane above the ground
    long double FrequencyMhz = 0;       // real ground only
    long double Permittivity = 1;       // relative, epsilon_r
    long double Conductivity = 0;       // S/m
    TGroundModel Model = TGroundModel::Sommerfeld;  // real ground under wires only
};

// Usual engineering values of soils and waters.
struct TSoil {
    std::string_view Name;
    long double Permittivity;
    long double Conductivity;  // S/m
};

inline constexpr TSoil kSoils[] = {
    {"average", 13, 0.005L},  {"poor", 5, 0.001L}, {"good", 20, 0.0303L},
    {"very-poor", 3, 0.001L}, {"sea", 81, 5},      {"fresh-water", 80, 0.001L},
};

// The speed of light in metres per microsecond: the wavelength in metres is this over MHz.
inline constexpr long double kLightSpeed = 299.792458L;

// The ground's relative complex permittivity eps_r - j 60 sigma lambda (time as exp(j w t)).
template <typename R>
std::complex<R> ComplexPermittivity(const TGround& g) {
    const R wavelength = static_cast<R>(kLightSpeed / g.FrequencyMhz);
    return {static_cast<R>(g.Permittivity), -60 * static_cast<R>(g.Conductivity) * wavelength};
}

// The Fresnel reflection coefficients at grazing angle e (its sine given) of the wave polarised
// in the plane of incidence (vertical, Rv) and across it (horizontal, Rh). Perfect ground:
// Rv = +1, Rh = -1.
template <typename R>
struct TReflection {
    std::complex<R> Vertical{1, 0};
    std::complex<R> Horizontal{-1, 0};
};

template <typename R>
TReflection<R> Reflection(const TGround& g, R sinE) {
    if (g.Kind != TGroundKind::Real) return {};
    const std::complex<R> eps = ComplexPermittivity<R>(g);
    // A loss beyond the type's range (a frequency far below any radio's) is a perfect
    // conductor's, save at grazing, where every ground but vacuum reflects -1 in both.
    if (!std::isfinite(eps.imag())) return {{sinE > 0 ? R(1) : R(-1), 0}, {-1, 0}};
    // eps - cos^2 e written as (eps - 1) + sin^2 e: near grazing no digits cancel, and vacuum
    // gives exactly sin e, so that it reflects exactly nothing.
    const std::complex<R> root = std::sqrt(eps - R(1) + sinE * sinE);
    // Only vacuum at grazing leaves 0 / 0; its reflection is 0 there as at every angle.
    if (root == std::complex<R>(0)) return {{0, 0}, {0, 0}};
    return {(eps * sinE - root) / (eps * sinE + root), (sinE - root) / (sinE + root)};
}
