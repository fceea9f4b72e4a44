#pragma once
// The speed's least squares on a coarse grid, for its slowest part.
//
// The solver's normal equations H x = c (see PreciseSpeedSolver) are solved
// window by window, and no window sees further than its own few seconds:
// where the speed is handed from one group of notes to the next, what the
// whole run says of its level (every hand-over weighed against every other)
// reaches a window only through its neighbours, and over minutes the first
// estimate's wander stays. This system solves for that slow part: the
// correction is x += P z, P the hat functions of nodes `spacing` frames
// apart (piecewise linear between them), and z solves the coarse system
//
//     (P' H P) z = P' (c - H x).
//
// P' H P is what H is on the grid: the frames' weights D and the prior
// lambda A'A (A the prediction-error filter) become a narrow band, and each
// partial's reference, eliminated, a term q q' / U of its own (q = P' u over
// the few nodes its life spans, U its total weight). It is factored once
// (Cholesky within the band) and then solved in a pass over the band; the
// solver uses it as the slow half of its preconditioner.
#include <cstddef>
#include <vector>

namespace wowfix {

class CoarseSpeedSystem {
public:
    // `frames` frames, nodes `spacing` frames apart (node i at frame i * spacing),
    // partials numbered 0 .. tracks - 1.
    CoarseSpeedSystem(std::size_t frames, std::size_t spacing, std::size_t tracks);

    std::size_t nodes() const { return nodes_; }
    // Partial `track`'s observation in `frame` with weight u, in time order.
    void addObservation(std::size_t track, std::size_t frame, double u);
    // lambda A'A, A the filter (coefficients k = 0.. on x_{t-k}) over the
    // rows t >= filter.size() - 1.
    void addPrior(const std::vector<double>& filter, double lambda);

    // P' r of a fine vector (one value per frame).
    std::vector<double> restrict(const std::vector<double>& fine) const;
    // out = (P' H P) v.
    void multiply(const std::vector<double>& v, std::vector<double>& out) const;
    // Factors P' H P once (for a preconditioner: a partial whose life spans
    // more than kMaxSpan nodes is left out of it, which only adds to it);
    // then solveFactored gives z = (P' H P + a little)^-1 b.
    bool factor();
    void solveFactored(const std::vector<double>& b, std::vector<double>& z) const;
    // x += P z.
    void prolongAdd(const std::vector<double>& z, std::vector<double>& x) const;

private:
    struct Track {
        std::size_t firstNode = 0;
        std::vector<double> q;
        double total = 0.0;
    };
    void addToBand(std::size_t i, std::size_t k, double value);
    // The node left of frame t and t's share of the node right of it.
    void locate(std::size_t frame, std::size_t& node, double& share) const;

    std::size_t frames_;
    std::size_t spacing_;
    std::size_t nodes_;
    std::size_t band_ = 1;             // entries above the diagonal kept per row
    std::vector<double> bandValues_;   // nodes x (band + 1): row i, column i + d
    std::vector<Track> tracks_;
    std::size_t factorBand_ = 0;
    std::vector<double> factor_;       // nodes x (factorBand + 1): L(i, i - d)
};

}  // namespace wowfix
