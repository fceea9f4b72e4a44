#pragma once
// Linear least squares through the normal equations: accumulate rows of the
// design matrix, then solve (AᵀA) c = Aᵀy by Gaussian elimination with
// partial pivoting (the systems here have a few dozen unknowns).

#include <vector>

namespace wowfix::curve {

class LeastSquares {
public:
    explicit LeastSquares(std::size_t unknowns);
    void addRow(const std::vector<double>& row, double y);
    // False when the system is singular (or nearly so).
    bool solve(std::vector<double>& coefficients) const;

private:
    std::size_t n_;
    std::vector<double> normal_;  // n × n, row major
    std::vector<double> rhs_;
};

}  // namespace wowfix::curve
