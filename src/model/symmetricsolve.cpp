#include "model/symmetricsolve.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Eigen::Index kBlock = 24;

// A pivot this far below the diagonal's largest entry would amplify rounding beyond what the
// drive impedances' digits allow.
constexpr double kSmallestPivot = 1e-10;

}  // namespace

bool SolveSymmetric(Eigen::Ref<Eigen::MatrixXcd> a, Eigen::MatrixXcd& b) {
    const Eigen::Index n = a.rows();
    const double largest = a.diagonal().cwiseAbs().maxCoeff();
    Eigen::VectorXcd d(n);
    Eigen::MatrixXcd scaled(n, kBlock);
    for (Eigen::Index k = 0; k < n; k += kBlock) {
        const Eigen::Index width = std::min(kBlock, n - k);
        // The panel of columns k .. k + width from the diagonal down, a column at a time; the
        // panel's entries above its diagonal take updates that are never read.
        for (Eigen::Index j = k; j < k + width; ++j) {
            const std::complex<double> pivot = a(j, j);
            if (!(std::abs(pivot) > kSmallestPivot * largest)) return false;
            d(j) = pivot;
            const Eigen::Index below = n - j - 1, right = k + width - j - 1;
            a.col(j).tail(below) *= 1.0 / pivot;
            if (right > 0)
                a.block(j + 1, j + 1, below, right).noalias() -=
                    (pivot * a.col(j).tail(below)) * a.col(j).segment(j + 1, right).transpose();
        }
        const Eigen::Index rest = n - k - width;
        if (rest == 0) break;
        // The trailing lower triangle less L21 D1 L21^T.
        const auto l21 = a.block(k + width, k, rest, width);
        auto l21d = scaled.topLeftCorner(rest, width);
        l21d.noalias() = l21 * d.segment(k, width).asDiagonal();
        a.bottomRightCorner(rest, rest).triangularView<Eigen::Lower>() -= l21d * l21.transpose();
    }
    a.triangularView<Eigen::UnitLower>().solveInPlace(b);
    b = d.cwiseInverse().asDiagonal() * b;
    a.transpose().triangularView<Eigen::UnitUpper>().solveInPlace(b);
    return b.allFinite();
}
