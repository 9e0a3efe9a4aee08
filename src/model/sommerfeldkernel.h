#pragma once

#include <complex>
#include <vector>

// The field a lossy half-space reflects, in the form the method of moments on parallel wires
// needs (Sommerfeld's integrals as NEC-2 evaluates them, Burke & Miller, "Numerical Evaluation
// of Sommerfeld Integrals", 1984; the potentials split as in Michalski & Mosig, "Multilayered
// media Green's functions", 1997). Time goes as exp(j w t); lengths in wavelengths. A current
// element at height z' over ground of relative complex permittivity eps reflects, at height z
// and horizontal distance rho, with Z = z + z' and s the horizontal wavenumber over k:
//   K_W(rho, Z) = -j k Int_0^inf s J0(k s rho) exp(-j k q Z) W(s) / q ds,  q = sqrt(1 - s^2),
// which is exp(-j k R2) / R2 (R2 the distance to the image point) for W = 1. The spectral
// weights are the Fresnel coefficients of the plane waves:
//   G_TE = (q - q2) / (q + q2),  G_TM = (eps q - q2) / (eps q + q2),  q2 = sqrt(eps - s^2),
// and a horizontal current's scalar potential takes P = (G_TE + q^2 G_TM) / s^2. Far in the
// spectrum G_TM tends to the quasi-static image's (eps - 1) / (eps + 1) and G_TE to 0: with
// that image subtracted (the solver adds it in closed form), what is left is bounded and
// smooth, and is tabulated here.
//   Horizontal wires (along x):  Z_mn += j k eta / 4pi Int Int [J J' A - J. J.' Phi / k^2]
//     A = K_{G_TE} + Q g,  Phi = K_{P} + Q g   (g = exp(-j k R2) / R2, Q the image's weight)
//   Upright wires:               Z_mn += j k eta / 4pi Int Int [J J' + J. J.' / k^2] V
//     V = K_{G_TM} - Q g
// (J. the derivative of a mode's current). A lacks the image subtraction because the image the
// solver adds carries its vector potential too; A gives that back.

using TComplex = std::complex<double>;

// The quasi-static image's weight (eps - 1) / (eps + 1).
TComplex QuasiStaticWeight(TComplex permittivity);

// The spectral weights at s, with q = sqrt(1 - s^2) on the path's branch.
struct TSpectralWeights {
    TComplex Te, Tm, Potential;  // G_TE, G_TM, P
};
TSpectralWeights SpectralWeights(TComplex permittivity, double s, TComplex q);

// The reflected kernels at one point.
struct THorizontalKernel {
    TComplex A;
    TComplex Phi;
};

// Nodes of the integral over s along the real axis, shared by every distance of a table: below
// s = 1 as s = sin t, above as s = cosh u up to 2, then in s, so that the branch point at 1
// leaves no singularity; panels grow geometrically away from it, where the ground's pole lies
// within 1 / sqrt|eps| of the path.
struct TSpectralNode {
    double S = 0;
    TComplex Q;       // sqrt(1 - s^2), -j sqrt(s^2 - 1) above 1
    TComplex Weight;  // quadrature weight of ds / q
};

// maxDistance: the largest rho asked for; minSum: the smallest Z (both wavelengths).
std::vector<TSpectralNode> SpectralPath(TComplex permittivity, double maxDistance, double minSum);

// Norton's asymptotic form beyond a couple of wavelengths (K. A. Norton, "The propagation of
// radio waves over the surface of the earth", Proc. IRE 1936-37): the image weighted by the
// plane-wave coefficients at the specular angle, with the surface wave's attenuation function
// F(w) = 1 - j sqrt(pi w) exp(-w) erfc(j sqrt w) added to the TM coefficient.
THorizontalKernel HorizontalFarKernel(TComplex permittivity, double rho, double sum);
TComplex UprightFarKernel(TComplex permittivity, double rho, double sum);

// Beyond this horizontal distance (wavelengths) the far form serves.
inline constexpr double kNortonDistance = 2;
