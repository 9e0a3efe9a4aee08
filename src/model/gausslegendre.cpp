#include "model/gausslegendre.h"

#include <cmath>
#include <cstddef>
#include <numbers>

void GaussLegendre(int n, std::vector<double>& nodes, std::vector<double>& weights) {
    nodes.assign(static_cast<std::size_t>(n), 0);
    weights.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < (n + 1) / 2; ++i) {
        double x = std::cos(std::numbers::pi * (i + 0.75) / (n + 0.5));
        double derivative = 1;
        for (int iteration = 0; iteration < 100; ++iteration) {
            double p0 = 1, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1);
            const double dx = p1 / derivative;
            x -= dx;
            if (std::fabs(dx) < 1e-16) break;
        }
        const auto lo = static_cast<std::size_t>(i);
        const auto hi = static_cast<std::size_t>(n - 1 - i);
        nodes[lo] = -x;
        nodes[hi] = x;
        weights[lo] = weights[hi] = 2 / ((1 - x * x) * derivative * derivative);
    }
}
