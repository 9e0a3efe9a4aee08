#include "model/taper.h"

#include <algorithm>
#include <cmath>

#include "model/angles.h"

namespace {

// The Chebyshev polynomial of the first kind of degree m, for any real x.
long double Chebyshev(int m, long double x) {
    if (std::fabs(x) <= 1) return std::cos(m * std::acos(x));
    const long double value = std::cosh(m * std::acosh(std::fabs(x)));
    return x < 0 && m % 2 == 1 ? -value : value;
}

// The array factor T_(N-1)(beta cos(u / 2)) sampled at u = 2 pi k / N and taken back to the
// element weights: the samples determine the N weights exactly.
std::vector<long double> DolphChebyshev(int n, long double sidelobeDb) {
    const long double ratio = std::pow(10.0L, -sidelobeDb / 20);
    const long double beta = std::cosh(std::acosh(ratio) / (n - 1));
    const long double centre = (n - 1) / 2.0L;
    std::vector<long double> samples(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        samples[static_cast<std::size_t>(k)] = Chebyshev(n - 1, beta * std::cos(kPi * k / n));
    }
    std::vector<long double> w(static_cast<std::size_t>(n));
    for (int m = 0; m < n; ++m) {
        long double sum = 0;
        for (int k = 0; k < n; ++k) {
            sum += samples[static_cast<std::size_t>(k)] * std::cos(2 * kPi * k * (m - centre) / n);
        }
        w[static_cast<std::size_t>(m)] = sum / n;
    }
    return w;
}

std::vector<long double> TaylorNbar(int n, long double sidelobeDb, int nbar) {
    const long double a = std::acosh(std::pow(10.0L, -sidelobeDb / 20)) / kPi;
    const long double sigma2 = nbar * nbar / (a * a + (nbar - 0.5L) * (nbar - 0.5L));
    std::vector<long double> f(static_cast<std::size_t>(nbar));
    for (int m = 1; m < nbar; ++m) {
        long double numerator = 1;
        long double denominator = 1;
        for (int k = 1; k < nbar; ++k) {
            numerator *= 1 - m * m / (sigma2 * (a * a + (k - 0.5L) * (k - 0.5L)));
            if (k != m) denominator *= 1 - static_cast<long double>(m * m) / (k * k);
        }
        f[static_cast<std::size_t>(m)] = (m % 2 == 1 ? 1 : -1) * numerator / (2 * denominator);
    }
    std::vector<long double> w(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const long double x = (i - n / 2.0L + 0.5L) / n;
        long double sum = 1;
        for (int m = 1; m < nbar; ++m)
            sum += 2 * f[static_cast<std::size_t>(m)] * std::cos(2 * kPi * m * x);
        w[static_cast<std::size_t>(i)] = sum;
    }
    return w;
}

}  // namespace

std::vector<long double> TaperWeights(const TTaper& taper, int count) {
    std::vector<long double> w(static_cast<std::size_t>(std::max(count, 0)), 1);
    if (count < 2) return w;
    switch (taper.Kind) {
        case TTaperKind::Uniform:
            return w;
        case TTaperKind::Binomial:
            for (int i = 1; i < count; ++i) {
                const auto u = static_cast<std::size_t>(i);
                w[u] = w[u - 1] * (count - i) / i;
            }
            break;
        case TTaperKind::Chebyshev:
            w = DolphChebyshev(count, taper.SidelobeDb);
            break;
        case TTaperKind::Taylor:
            w = TaylorNbar(count, taper.SidelobeDb, taper.Nbar);
            break;
    }
    const long double top = *std::max_element(w.begin(), w.end());
    for (long double& v : w) v /= top;
    return w;
}

std::optional<TRefusal> ApplyTaper(TArray& array, const TTaper& taper) {
    std::vector<TEmitter*> line;
    for (TEmitter& e : array.Emitters) {
        if (e.Enabled) line.push_back(&e);
    }
    const std::size_t n = line.size();
    if (n >= 2) {
        const long double dx = line[1]->X - line[0]->X;
        const long double dy = line[1]->Y - line[0]->Y;
        const long double step = std::hypot(dx, dy);
        if (!(step > 0)) return TRefusal{Msgid("the first two emitters switched on share a place")};
        for (std::size_t i = 2; i < n; ++i) {
            const long double ex = line[0]->X + dx * static_cast<long double>(i) - line[i]->X;
            const long double ey = line[0]->Y + dy * static_cast<long double>(i) - line[i]->Y;
            if (std::hypot(ex, ey) > 1e-9L * step * static_cast<long double>(n)) {
                return TRefusal{
                    Msgid("the emitters switched on do not lie evenly spaced on one line in the "
                          "order of their numbers (emitter %s is off it)"),
                    std::to_string(static_cast<int>(line[i] - array.Emitters.data()) + 1)};
            }
        }
    }
    const std::vector<long double> w = TaperWeights(taper, static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) line[i]->Amplitude = w[i];
    return std::nullopt;
}
