#include "model/wirekernel.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double kWave = 2 * std::numbers::pi;  // wavenumber, per wavelength
constexpr double kEpsilon = 4e-16;
constexpr int kMaxTerms = 100;

// 1/k: the series multiplies by them rather than divide, a division costing several products.
constexpr std::array<double, kMaxTerms + 1> kInverses = [] {
    std::array<double, kMaxTerms + 1> inverses{};
    for (int k = 1; k <= kMaxTerms; ++k) inverses[std::size_t(k)] = 1.0 / k;
    return inverses;
}();

// Below 8 the power series of Si and Ci (its terms cancel to at most three digits there),
// above it the continued fraction of E1 itself.
std::complex<double> Series(double x) {
    double sum = 0, sines = 0, cosines = 0, sign = 1, fact = 1;
    bool odd = true;
    for (int k = 1; k <= kMaxTerms; ++k) {
        const double inverse = kInverses[std::size_t(k)];
        fact *= x * inverse;
        const double term = fact * inverse;
        sum += sign * term;
        const bool settled = term < kEpsilon * std::fabs(sum);
        if (odd) {
            sign = -sign;
            sines = sum;
            sum = cosines;
        } else {
            cosines = sum;
            sum = sines;
        }
        if (settled) break;
        odd = !odd;
    }
    const double ci = cosines + std::log(x) + std::numbers::egamma;
    return {-ci, sines - std::numbers::pi / 2};
}

// Lentz's evaluation of the continued fraction of exp(jx) E1(jx), in real arithmetic: the
// library's complex division guards against infinities that cannot arise here and costs
// several times as much.
std::complex<double> ContinuedFraction(double x) {
    constexpr double kTiny = 1e-300;
    double br = 1, bi = x;
    double cr = 1 / kTiny, ci = 0;
    double norm = br * br + bi * bi;
    double dr = br / norm, di = -bi / norm;
    double hr = dr, hi = di;
    for (int i = 2; i <= kMaxTerms; ++i) {
        const double a = -double(i - 1) * double(i - 1);
        br += 2;
        // d = 1 / (a d + b)
        const double er = a * dr + br, ei = a * di + bi;
        norm = er * er + ei * ei;
        dr = er / norm;
        di = -ei / norm;
        // c = b + a / c
        norm = cr * cr + ci * ci;
        cr = br + a * cr / norm;
        ci = bi - a * ci / norm;
        const double fr = cr * dr - ci * di, fi = cr * di + ci * dr;
        const double gr = hr * fr - hi * fi, gi = hr * fi + hi * fr;
        hr = gr;
        hi = gi;
        if (std::fabs(fr - 1) + std::fabs(fi) < kEpsilon) break;
    }
    return std::complex<double>(std::cos(x), -std::sin(x)) * std::complex<double>(hr, hi);
}

}  // namespace

// Our own rather than a library's Si and Ci: one continued fraction gives both halves of E1 at
// once, and the matrix fill calls it for every pair of nodes.
std::complex<double> ExpIntegralImaginary(double x) {
    return x > 8 ? ContinuedFraction(x) : Series(x);
}

TNodePair NodePair(double u, double rho) {
    // No overflow to guard against: the distances are a few hundred wavelengths at most.
    const double r = std::sqrt(rho * rho + u * u);
    // Far along a thin wire's own axis R - u (or R + u) is rho^2 over twice the distance:
    // written so, its digits survive.
    const double behind = u > 0 ? rho * rho / (r + u) : r - u;
    const double ahead = u < 0 ? rho * rho / (r - u) : r + u;
    return {ExpIntegralImaginary(kWave * behind),
            ExpIntegralImaginary(kWave * ahead),
            {std::cos(kWave * u), std::sin(kWave * u)}};
}

// With sin k(z - t) = (e^{jk(z-t)} - e^{-jk(z-t)}) / 2j, each half is an integral of
// exp(-jk(R -+ u)) / R du, which the substitution w = R -+ u turns into E1's.
std::complex<double> ModeIntegral(const TNodePair& lo, const TNodePair& mid, const TNodePair& hi,
                                  double sinKa, double sinKb) {
    // Rising half on [lo, mid]: (e^{-jku_lo} I+ - e^{jku_lo} I-) / 2j.
    const std::complex<double> rising =
        std::conj(lo.Phase) * (mid.Behind - lo.Behind) - lo.Phase * (lo.Ahead - mid.Ahead);
    // Falling half on [mid, hi]: (e^{jku_hi} I- - e^{-jku_hi} I+) / 2j.
    const std::complex<double> falling =
        hi.Phase * (mid.Ahead - hi.Ahead) - std::conj(hi.Phase) * (hi.Behind - mid.Behind);
    // Each half divided by 2j sin k(its length) as a product, which the compiler need not guard
    // against infinities.
    const std::complex<double> sum =
        sinKa == sinKb ? rising + falling : rising + falling * (sinKa / sinKb);
    const double scale = 0.5 / sinKa;
    return {sum.imag() * scale, -sum.real() * scale};
}
