#include "hostsim/curve/LeastSquares.h"

#include <cmath>
#include <utility>

namespace wowfix::curve {

LeastSquares::LeastSquares(std::size_t unknowns) : n_(unknowns), normal_(unknowns * unknowns, 0.0), rhs_(unknowns, 0.0) {}

void LeastSquares::addRow(const std::vector<double>& row, double y) {
    for (std::size_t i = 0; i < n_; ++i) {
        rhs_[i] += row[i] * y;
        for (std::size_t j = 0; j < n_; ++j) normal_[i * n_ + j] += row[i] * row[j];
    }
}

bool LeastSquares::solve(std::vector<double>& c) const {
    std::vector<double> a = normal_;
    c = rhs_;
    double largestDiagonal = 0.0;
    for (std::size_t i = 0; i < n_; ++i) largestDiagonal = std::max(largestDiagonal, std::fabs(a[i * n_ + i]));
    if (!(largestDiagonal > 0.0)) return false;
    for (std::size_t col = 0; col < n_; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < n_; ++r)
            if (std::fabs(a[r * n_ + col]) > std::fabs(a[pivot * n_ + col])) pivot = r;
        if (std::fabs(a[pivot * n_ + col]) < 1e-12 * largestDiagonal) return false;
        if (pivot != col) {
            for (std::size_t j = 0; j < n_; ++j) std::swap(a[col * n_ + j], a[pivot * n_ + j]);
            std::swap(c[col], c[pivot]);
        }
        for (std::size_t r = col + 1; r < n_; ++r) {
            const double f = a[r * n_ + col] / a[col * n_ + col];
            for (std::size_t j = col; j < n_; ++j) a[r * n_ + j] -= f * a[col * n_ + j];
            c[r] -= f * c[col];
        }
    }
    for (std::size_t i = n_; i-- > 0;) {
        double s = c[i];
        for (std::size_t j = i + 1; j < n_; ++j) s -= a[i * n_ + j] * c[j];
        c[i] = s / a[i * n_ + i];
    }
    return true;
}

}  // namespace wowfix::curve
