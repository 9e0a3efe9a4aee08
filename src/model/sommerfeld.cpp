#include "model/sommerfeld.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "model/gausslegendre.h"
#include "model/sommerfeldkernel.h"

namespace {

constexpr double kWave = 2 * std::numbers::pi;  // per wavelength
constexpr TComplex kJ{0, 1};
// j k eta / 4 pi, ohms per wavelength.
constexpr TComplex kReactionScale{0, kWave * 120 * std::numbers::pi / (4 * std::numbers::pi)};

// Nodes spaced dt in t, at x = origin + scale sinh t near the origin, where the kernels change
// on the scale of the nearest image distance, then evenly at most kWidest apart.
class TAxis {
  public:
    TAxis(double origin, double scale, double end) : Origin(origin), Scale(scale) {
        const double ratio = kWidest / (kStep * scale);
        Knee = ratio > 1 ? std::acosh(ratio) : 0;
        KneeX = scale * std::sinh(Knee);
        Count = std::max(4, static_cast<int>(std::ceil(Index(end))) + 3);
    }
    double At(int i) const {
        const double t = i * kStep;
        return Origin + (t <= Knee ? Scale * std::sinh(t) : KneeX + (t - Knee) * kWidest / kStep);
    }
    double Index(double x) const {
        const double y = x - Origin;
        const double t = y <= KneeX ? std::asinh(y / Scale) : Knee + (y - KneeX) * kStep / kWidest;
        return t / kStep;
    }
    int Count = 0;

  private:
    static constexpr double kStep = 0.08;
    static constexpr double kWidest = 0.02;  // wavelengths
    double Origin, Scale, Knee = 0, KneeX = 0;
};

// Points on a mode's half beyond the near branch's reach, at most, and the inverse of the
// share of a reaction its quadrature may miss. The tables' cubic interpolation errs by more:
// the reactions moved by parts in 10^7 when short segments came to take fewer points.
constexpr std::size_t kMostFarPoints = 4;
constexpr double kFarAccuracy = 1e10;

// Cubic Lagrange weights on the four nodes from First.
struct TStencil {
    int First = 0;
    std::array<double, 4> Weight{};
};

TStencil Stencil(const TAxis& axis, double x) {
    const double index = axis.Index(x);
    TStencil s;
    s.First = std::clamp(static_cast<int>(std::floor(index)) - 1, 0, axis.Count - 4);
    const double p = index - s.First;
    s.Weight = {-(p - 1) * (p - 2) * (p - 3) / 6, p * (p - 2) * (p - 3) / 2,
                -p * (p - 1) * (p - 3) / 2, p * (p - 1) * (p - 2) / 6};
    return s;
}

// J0 to about 1e-9: the power series below 12, Hankel's expansion above. The tables take
// tens of thousands of values, and GSL's J0, exact to the last bit, costs ten times as much.
double BesselJ0(double x) {
    if (x < 12) {
        const double step = -x * x / 4;
        double term = 1, sum = 1;
        for (int k = 1; k < 60 && std::fabs(term) > 1e-17 * std::fabs(sum) + 1e-18; ++k) {
            term *= step / (double(k) * k);
            sum += term;
        }
        return sum;
    }
    const double y = 1 / (x * x);
    const double p = 1 + y * (-9.0 / 128 + y * (3675.0 / 32768 + y * (-2401245.0 / 4194304)));
    const double q = (-1.0 / 8 + y * (75.0 / 1024 + y * (-59535.0 / 262144))) / x;
    const double chi = x - std::numbers::pi / 4;
    return std::sqrt(2 / (std::numbers::pi * x)) * (p * std::cos(chi) - q * std::sin(chi));
}

// The kernels' sum over the path at every distance of the axis: one Bessel function per node
// and distance, shared by every weight.
std::vector<std::vector<double>> Bessels(const std::vector<TSpectralNode>& path,
                                         const TAxis& axis) {
    std::vector<std::vector<double>> j0(static_cast<std::size_t>(axis.Count));
    for (int r = 0; r < axis.Count; ++r) {
        const double rho = std::max(0.0, axis.At(r));
        for (const TSpectralNode& n : path)
            j0[std::size_t(r)].push_back(BesselJ0(kWave * n.S * rho));
    }
    return j0;
}

std::vector<double> Nodes(int n, std::vector<double>& weights) {
    std::vector<double> x;
    GaussLegendre(n, x, weights);
    return x;
}

// A mode's current and its derivative at x.
struct TModeValue {
    double Current, Slope;
};

TModeValue ModeAt(const TModeSpan& m, double x) {
    const double off = x - m.Centre;
    const double half = off < 0 ? m.Left : m.Right;
    const double sinKd = std::sin(kWave * half);
    const double along = kWave * (half - std::fabs(off));
    return {std::sin(along) / sinKd, (off < 0 ? kWave : -kWave) * std::cos(along) / sinKd};
}

// Gauss-Legendre panels from `from` towards `to`, growing by threes from `first`.
void Graded(double from, double to, double first, const std::function<void(double, double)>& add) {
    struct TRule {
        std::vector<double> Nodes, Weights;
        TRule() { GaussLegendre(8, Nodes, Weights); }
    };
    static const TRule kRule;
    const std::vector<double>&x = kRule.Nodes, &w = kRule.Weights;
    const double length = std::fabs(to - from), sign = to > from ? 1 : -1;
    double offset = 0, width = std::max(first, length / 256);
    while (offset < length) {
        const double end = offset + width * 1.5 >= length ? length : offset + width;
        const double mid = (offset + end) / 2, half = (end - offset) / 2;
        for (std::size_t i = 0; i < x.size(); ++i)
            add(from + sign * (mid + half * x[i]), half * w[i]);
        offset = end;
        width *= 3;
    }
}

// Nodes over [lo, hi] graded towards p (or the nearer end) on the kernel's scale.
void Around(double lo, double hi, double p, double scale,
            const std::function<void(double, double)>& add) {
    if (p > lo && p < hi) {
        Graded(p, lo, scale, add);
        Graded(p, hi, scale, add);
        return;
    }
    const double near = p <= lo ? lo : hi, far = p <= lo ? hi : lo;
    const double mid = (lo + hi) / 2;
    Graded(near, mid, std::hypot(scale, p - near), add);
    Graded(far, mid, std::hypot(scale, p - near) + std::fabs(far - near), add);
}

struct TKey {
    std::array<double, 7> Values;
    bool operator==(const TKey&) const = default;
};

// The values' bits mixed by multiplication: the library's hash of a double hashes its bytes,
// which the fill would spend a tenth of its time on.
struct TKeyHash {
    std::size_t operator()(const TKey& k) const {
        std::uint64_t h = 0;
        for (const double v : k.Values) {
            // Adding 0 makes -0 the 0 it equals.
            h = (h ^ std::bit_cast<std::uint64_t>(v + 0.0)) * 0x9e3779b97f4a7c15u;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

// Offsets rounded to 2^-36 wavelength, so that equal geometries reached by different sums of
// positions share one entry.
// Scaled by products with powers of two, exact as ldexp is and a tenth of its cost.
double Rounded(double x) {
    return std::round(x * 0x1p36) * 0x1p-36;
}

}  // namespace

struct TSommerfeldGround::TTables {
    TSommerfeldLayout Layout;
    TComplex Image;
    double TableReach = 0;
    TAxis Distance{0, 1, 0};
    TAxis Sum{0, 1, 0};
    std::vector<TComplex> A, Phi;          // horizontal: by distance
    std::vector<std::vector<TComplex>> V;  // upright: by sum, then distance
    // Gauss-Legendre rules of 1 to kMostFarPoints points, by count.
    std::array<std::vector<double>, kMostFarPoints + 1> FarNodes, FarWeights;
    mutable std::mutex Lock;
    mutable std::unordered_map<TKey, TComplex, TKeyHash> Done;

    THorizontalKernel Horizontal(double rho) const {
        if (rho > TableReach)
            return HorizontalFarKernel(Layout.Permittivity, rho, Layout.LowestSum);
        const TStencil s = Stencil(Distance, rho);
        THorizontalKernel k{0, 0};
        for (int i = 0; i < 4; ++i) {
            k.A += s.Weight[std::size_t(i)] * A[std::size_t(s.First + i)];
            k.Phi += s.Weight[std::size_t(i)] * Phi[std::size_t(s.First + i)];
        }
        return k;
    }
    TComplex Upright(double rho, double sum) const {
        if (rho > TableReach) return UprightFarKernel(Layout.Permittivity, rho, sum);
        const TStencil r = Stencil(Distance, rho), z = Stencil(Sum, sum);
        TComplex v = 0;
        for (int i = 0; i < 4; ++i) {
            TComplex row = 0;
            const auto& column = V[std::size_t(z.First + i)];
            for (int j = 0; j < 4; ++j)
                row += r.Weight[std::size_t(j)] * column[std::size_t(r.First + j)];
            v += z.Weight[std::size_t(i)] * row;
        }
        return v;
    }
    // The integrand of the reaction at test point x and source point y.
    TComplex Integrand(const TModeSpan& t, double x, const TModeSpan& s, double y,
                       double across) const {
        return Integrand(ModeAt(t, x), x, ModeAt(s, y), y, across);
    }
    TComplex Integrand(const TModeValue& mt, double x, const TModeValue& ms, double y,
                       double across) const {
        const double slopes = mt.Slope * ms.Slope / (kWave * kWave);
        if (Layout.Upright) return (mt.Current * ms.Current + slopes) * Upright(across, x + y);
        const THorizontalKernel k = Horizontal(std::hypot(x - y, across));
        return mt.Current * ms.Current * k.A - slopes * k.Phi;
    }
    TComplex Compute(const TModeSpan& t, const TModeSpan& s, double across) const;
};

TComplex TSommerfeldGround::TTables::Compute(const TModeSpan& t, const TModeSpan& s,
                                             double across) const {
    const std::array<std::array<double, 2>, 2> halves{
        {{t.Centre - t.Left, t.Centre}, {t.Centre, t.Centre + t.Right}}};
    const std::array<std::array<double, 2>, 2> sourceHalves{
        {{s.Centre - s.Left, s.Centre}, {s.Centre, s.Centre + s.Right}}};
    const double spans = t.Left + t.Right + s.Left + s.Right;
    // How close the kernel's peak comes: the image of one mode's nearest point seen from the
    // other's.
    double nearest = 0, scale = 0;
    if (Layout.Upright) {
        scale = across;
        nearest = std::hypot(across, t.Centre - t.Left + s.Centre - s.Left);
    } else {
        scale = std::hypot(across, Layout.LowestSum);
        nearest = std::hypot(scale, std::max({0.0, t.Centre - t.Left - s.Centre - s.Right,
                                              s.Centre - s.Left - t.Centre - t.Right}));
    }
    TComplex sum = 0;
    if (nearest > 0.75 * spans) {
        // Each mode's current at its nodes, once.
        struct TPoint {
            double X, Weight;
            TModeValue Value;
        };
        // Gauss-Legendre's error on a segment falls as (its length over four times the
        // distance of the kernel's peak) to twice the points: a short segment, such as those
        // toward a wire's open end, takes fewer than a long one for the same digits.
        const auto count = [&](double half) {
            const double ratio = 4 * nearest / half;
            for (std::size_t n = 2; n < kMostFarPoints; ++n)
                if (std::pow(ratio, 2.0 * double(n)) >= kFarAccuracy) return n;
            return kMostFarPoints;
        };
        std::array<TPoint, 2 * kMostFarPoints> tp, sp;
        const auto points = [&](const TModeSpan& m, std::array<TPoint, 2 * kMostFarPoints>& p) {
            std::size_t k = 0;
            for (const double side : {-0.5, 0.5}) {
                const double half = side < 0 ? m.Left : m.Right;
                const std::size_t n = count(half);
                for (std::size_t i = 0; i < n; ++i) {
                    const double x = m.Centre + half * (side + FarNodes[n][i] / 2);
                    p[k++] = {x, half / 2 * FarWeights[n][i], ModeAt(m, x)};
                }
            }
            return k;
        };
        const std::size_t nt = points(t, tp), ns = points(s, sp);
        for (std::size_t i = 0; i < nt; ++i)
            for (std::size_t j = 0; j < ns; ++j)
                sum += tp[i].Weight * sp[j].Weight *
                       Integrand(tp[i].Value, tp[i].X, sp[j].Value, sp[j].X, across);
        return kReactionScale * sum;
    }
    // Near: the source's integral graded towards the peak at each test point, and the test's
    // towards the source's nodes, where the inner integral bends.
    const auto inner = [&](double x) {
        TComplex in = 0;
        const double peak = Layout.Upright ? -x : x;
        for (const auto& hs : sourceHalves)
            Around(hs[0], hs[1], peak, scale,
                   [&](double y, double w) { in += w * Integrand(t, x, s, y, across); });
        return in;
    };
    for (const auto& ht : halves) {
        std::vector<double> edges{ht[0]};
        for (double node : {s.Centre - s.Left, s.Centre, s.Centre + s.Right})
            if (node > ht[0] && node < ht[1]) edges.push_back(node);
        edges.push_back(ht[1]);
        for (std::size_t e = 1; e < edges.size(); ++e) {
            const double mid = (edges[e - 1] + edges[e]) / 2;
            Graded(edges[e - 1], mid, scale, [&](double x, double w) { sum += w * inner(x); });
            Graded(edges[e], mid, scale, [&](double x, double w) { sum += w * inner(x); });
        }
    }
    return kReactionScale * sum;
}

TSommerfeldGround::TSommerfeldGround(const TSommerfeldLayout& layout)
    : Tables(std::make_unique<TTables>()) {
    TTables& t = *Tables;
    t.Layout = layout;
    t.Image = QuasiStaticWeight(layout.Permittivity);
    for (std::size_t n = 1; n <= kMostFarPoints; ++n)
        t.FarNodes[n] = Nodes(int(n), t.FarWeights[n]);
    t.TableReach = std::min(layout.Reach, kNortonDistance);
    const double low = layout.LowestSum;
    t.Distance = TAxis(0, low, t.TableReach);
    const std::vector<TSpectralNode> path = SpectralPath(layout.Permittivity, t.TableReach, low);
    const std::vector<std::vector<double>> j0 = Bessels(path, t.Distance);
    const auto coefficients = [&](double sum) {
        std::vector<TComplex> c;
        for (const TSpectralNode& n : path)
            c.push_back(-kJ * kWave * n.Weight * n.S * std::exp(-kJ * kWave * n.Q * sum));
        return c;
    };
    const auto integrate = [&](const std::vector<TComplex>& c, int r) {
        TComplex v = 0;
        const std::vector<double>& bessel = j0[std::size_t(r)];
        for (std::size_t i = 0; i < c.size(); ++i) v += c[i] * bessel[i];
        return v;
    };
    if (!layout.Upright) {
        std::vector<TComplex> te = coefficients(low), potential = te;
        for (std::size_t i = 0; i < path.size(); ++i) {
            const TSpectralNode& n = path[i];
            const TSpectralWeights w = SpectralWeights(layout.Permittivity, n.S, n.Q);
            te[i] *= w.Te;
            potential[i] *= w.Potential + t.Image;
        }
        for (int r = 0; r < t.Distance.Count; ++r) {
            const double rho = std::max(0.0, t.Distance.At(r)), r2 = std::hypot(rho, low);
            t.A.push_back(integrate(te, r) + t.Image * std::polar(1 / r2, -kWave * r2));
            t.Phi.push_back(integrate(potential, r));
        }
        return;
    }
    t.Sum = TAxis(low, low, layout.HighestSum);
    for (int z = 0; z < t.Sum.Count; ++z) {
        std::vector<TComplex> c = coefficients(t.Sum.At(z));
        for (std::size_t i = 0; i < path.size(); ++i)
            c[i] *= SpectralWeights(layout.Permittivity, path[i].S, path[i].Q).Tm - t.Image;
        t.V.emplace_back();
        for (int r = 0; r < t.Distance.Count; ++r) t.V.back().push_back(integrate(c, r));
    }
}

TSommerfeldGround::~TSommerfeldGround() = default;

std::complex<double> TSommerfeldGround::ImageWeight() const {
    return Tables->Image;
}

std::complex<double> TSommerfeldGround::Reaction(const TModeSpan& test, const TModeSpan& source,
                                                 double across) const {
    const TTables& t = *Tables;
    // A horizontal pair depends on the offset of the modes only, and is the same seen from
    // the other end of the wires, where the offset and each mode's segments change places.
    TKey key{{Rounded(test.Centre), Rounded(source.Centre), test.Left, test.Right, source.Left,
              source.Right, Rounded(across)}};
    if (!t.Layout.Upright) {
        const double offset = Rounded(test.Centre - source.Centre);
        key.Values[0] = std::fabs(offset);
        key.Values[1] = 0;
        if (offset < 0) {
            std::swap(key.Values[2], key.Values[3]);
            std::swap(key.Values[4], key.Values[5]);
        }
    }
    {
        const std::lock_guard<std::mutex> hold(t.Lock);
        if (const auto it = t.Done.find(key); it != t.Done.end()) return it->second;
    }
    const TModeSpan a{key.Values[0], key.Values[2], key.Values[3]};
    const TModeSpan b{key.Values[1], key.Values[4], key.Values[5]};
    const TComplex value = t.Compute(a, b, key.Values[6]);
    const std::lock_guard<std::mutex> hold(t.Lock);
    if (t.Done.size() > 200000) t.Done.clear();
    t.Done.emplace(key, value);
    return value;
}

std::shared_ptr<const TSommerfeldGround> TSommerfeldGround::For(const TSommerfeldLayout& layout) {
    // A few layouts at once: the studio's views of one array, a sweep's neighbours.
    static std::mutex lock;
    static std::list<std::shared_ptr<const TSommerfeldGround>> kept;
    const std::lock_guard<std::mutex> hold(lock);
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if ((*it)->Tables->Layout == layout) {
            kept.splice(kept.begin(), kept, it);
            return kept.front();
        }
    kept.push_front(std::make_shared<const TSommerfeldGround>(layout));
    if (kept.size() > 4) kept.pop_back();
    return kept.front();
}
