#include "model/sommerfeldkernel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/gausslegendre.h"

namespace {

constexpr double kWave = 2 * std::numbers::pi;  // per wavelength
constexpr TComplex kJ{0, 1};
constexpr int kPanelNodes = 8;

void AddPanels(double from, double to, double widest, std::vector<double>& edges) {
    const int count = std::max(1, static_cast<int>(std::ceil((to - from) / widest)));
    for (int i = 1; i <= count; ++i) edges.push_back(from + (to - from) * i / count);
}

// The panels' edges from 0 to `end`, growing by threes from `first`, no wider than `widest`.
std::vector<double> GradedEdges(double first, double end, double widest) {
    std::vector<double> edges{0};
    for (double edge = first; edge < std::min(0.4, end); edge *= 10.0 / 3) edges.push_back(edge);
    AddPanels(edges.back(), end, widest, edges);
    return edges;
}

// The scaled complementary error function exp(z^2) erfc(z).
TComplex Erfcx(TComplex z) {
    if (z.real() < 0) return 2.0 * std::exp(z * z) - Erfcx(-z);
    if (std::abs(z) < 2) {
        // erf's power series: its terms stay below e^4, so few digits cancel.
        TComplex term = z, sum = z;
        for (int n = 1; n < 60; ++n) {
            term *= -z * z / double(n);
            const TComplex add = term / double(2 * n + 1);
            sum += add;
            if (std::abs(add) < 1e-17 * std::abs(sum)) break;
        }
        return std::exp(z * z) * (1.0 - 2.0 / std::sqrt(std::numbers::pi) * sum);
    }
    // Laplace's continued fraction, from its tail.
    TComplex f = z;
    for (int n = 80; n >= 1; --n) f = z + (n / 2.0) / f;
    return 1.0 / (std::sqrt(std::numbers::pi) * f);
}

// Norton's attenuation function of the numerical distance w, with z = j sqrt(w).
TComplex Attenuation(TComplex w) {
    const TComplex z = kJ * std::sqrt(w);
    return 1.0 - std::sqrt(std::numbers::pi) * z * Erfcx(z);
}

struct TFar {
    TSpectralWeights Weights;
    TComplex Image;  // exp(-j k R2) / R2
};

TFar FarForm(TComplex eps, double rho, double sum) {
    const double r2 = std::hypot(rho, sum);
    const double s = rho / r2, q = sum / r2;
    TFar far{SpectralWeights(eps, s, q), std::polar(1 / r2, -kWave * r2)};
    // Norton's numerical distance for the TM wave, whose surface wave the coefficient at the
    // specular angle misses near grazing.
    const TComplex u2 = 1.0 / eps;
    const TComplex one = 1.0 - far.Weights.Tm;
    const TComplex w = -2.0 * kJ * kWave * r2 * u2 * (1.0 - u2 * s * s) / (one * one);
    const TComplex surface = one * Attenuation(w);
    far.Weights.Tm += surface;
    // The horizontal current's scalar potential takes the surface wave with its weight at the
    // pole, q^2 / s^2 = 1 / eps there, not at the specular angle, where it vanishes at grazing.
    far.Weights.Potential += u2 * surface;
    // The TE wave takes the like term with the surface impedance of horizontal polarisation.
    const TComplex oneTe = 1.0 - far.Weights.Te;
    const TComplex wTe = -2.0 * kJ * kWave * r2 * (1.0 - u2 * s * s) / (u2 * oneTe * oneTe);
    far.Weights.Te += oneTe * Attenuation(wTe);
    return far;
}

}  // namespace

TSpectralWeights SpectralWeights(TComplex eps, double s, TComplex q) {
    const TComplex d = eps - s * s;
    // The ground's root decays downwards: its imaginary part is never positive, lossless too.
    const TComplex q2 = std::sqrt(TComplex(d.real(), d.imag() == 0 ? -0.0 : d.imag()));
    TSpectralWeights w;
    w.Te = (q - q2) / (q + q2);
    w.Tm = (eps * q - q2) / (eps * q + q2);
    w.Potential = (w.Te + q * q * w.Tm) / (s * s);
    return w;
}

TComplex QuasiStaticWeight(TComplex eps) {
    return (eps - 1.0) / (eps + 1.0);
}

std::vector<TSpectralNode> SpectralPath(TComplex eps, double maxDistance, double minSum) {
    std::vector<double> x, w;
    GaussLegendre(kPanelNodes, x, w);
    std::vector<TSpectralNode> path;
    const auto panels = [&](const std::vector<double>& edges, auto node) {
        for (std::size_t p = 1; p < edges.size(); ++p) {
            const double mid = (edges[p] + edges[p - 1]) / 2, half = (edges[p] - edges[p - 1]) / 2;
            for (int i = 0; i < kPanelNodes; ++i)
                path.push_back(node(mid + half * x[i], half * w[i]));
        }
    };
    // A panel spans at most about six radians of J0's phase at the largest distance.
    const double phase = kWave * std::max(maxDistance, 1e-3);
    // The pole's distance from the branch point, in q, is about 1 / sqrt|eps + 1|.
    const double first = std::min(0.05, 0.1 / std::sqrt(std::abs(eps + 1.0)));
    panels(GradedEdges(first, std::numbers::pi / 2, std::min(0.35, 6 / phase)),
           [](double t, double wt) {
               const double gap = t;  // from the branch point
               return TSpectralNode{std::cos(gap), {std::sin(gap), 0}, {wt, 0}};
           });
    panels(GradedEdges(first, std::acosh(2.0), std::min(0.3, 3.5 / phase)),
           [](double u, double wu) {
               return TSpectralNode{std::cosh(u), {0, -std::sinh(u)}, {0, wu}};
           });
    // Above s = 2 the integrand falls as exp(-k Z s); where Z is tiny the weights' own 1 / s^3
    // leaves a tail under 1e-4 of the image's field beyond s = 4000.
    const double decay = kWave * std::max(minSum, 1e-9);
    const double end = 2 + std::min(20 / decay, 4000.0);
    std::vector<double> edges{2};
    AddPanels(2, end, std::min({4.0, 6 / phase, 4 / decay}), edges);
    panels(edges, [](double s, double ws) {
        const double root = std::sqrt(s * s - 1);
        return TSpectralNode{s, {0, -root}, {0, ws / root}};
    });
    return path;
}

THorizontalKernel HorizontalFarKernel(TComplex eps, double rho, double sum) {
    const TFar far = FarForm(eps, rho, sum);
    const TComplex q0 = QuasiStaticWeight(eps);
    return {(far.Weights.Te + q0) * far.Image, (far.Weights.Potential + q0) * far.Image};
}

TComplex UprightFarKernel(TComplex eps, double rho, double sum) {
    const TFar far = FarForm(eps, rho, sum);
    return (far.Weights.Tm - QuasiStaticWeight(eps)) * far.Image;
}
