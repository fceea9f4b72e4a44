// The coarse grid of the speed's least squares against the same system
// written out in full: the frames' weights, the partials' eliminated
// references and the prior, brought onto hat functions.

#include "detectors/CoarseSpeedSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using wowfix::CoarseSpeedSystem;

struct Partial {
    std::size_t first, last;
    std::vector<double> u;  // weight per frame of its life
};

struct FineSystem {
    std::size_t frames;
    std::vector<Partial> partials;
    std::vector<double> filter;
    double lambda;

    // H = D - sum u u' / U + lambda A'A, written out.
    std::vector<double> dense() const
    {
        std::vector<double> h(frames * frames, 0.0);
        for (const Partial& p : partials) {
            double total = 0.0;
            for (double u : p.u) total += u;
            for (std::size_t i = 0; i < p.u.size(); ++i) {
                h[(p.first + i) * frames + p.first + i] += p.u[i];
                for (std::size_t k = 0; k < p.u.size(); ++k)
                    h[(p.first + i) * frames + p.first + k] -= p.u[i] * p.u[k] / total;
            }
        }
        for (std::size_t s = filter.size() - 1; s < frames; ++s)
            for (std::size_t i = 0; i < filter.size(); ++i)
                for (std::size_t k = 0; k < filter.size(); ++k)
                    h[(s - i) * frames + s - k] += lambda * filter[i] * filter[k];
        return h;
    }

    CoarseSpeedSystem coarse(std::size_t spacing) const
    {
        CoarseSpeedSystem c(frames, spacing, partials.size());
        for (std::size_t t = 0; t < frames; ++t)
            for (std::size_t j = 0; j < partials.size(); ++j)
                if (t >= partials[j].first && t <= partials[j].last)
                    c.addObservation(j, t, partials[j].u[t - partials[j].first]);
        c.addPrior(filter, lambda);
        return c;
    }
};

FineSystem randomSystem(std::size_t frames, std::size_t longest, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    FineSystem s{frames, {}, {1.0, -1.7, 0.4, 0.3}, 2.5};
    for (std::size_t start = 0; start + 5 < frames; start += 3) {
        const std::size_t length = 5 + static_cast<std::size_t>(unit(random) * static_cast<double>(longest - 5));
        Partial p{start, std::min(frames - 1, start + length), {}};
        for (std::size_t t = p.first; t <= p.last; ++t) p.u.push_back(0.2 + unit(random));
        s.partials.push_back(p);
    }
    return s;
}

// The hat of node i at frame t.
double hat(std::size_t i, std::size_t t, std::size_t spacing)
{
    const double d = std::fabs(static_cast<double>(t) - static_cast<double>(i * spacing)) / static_cast<double>(spacing);
    return d < 1.0 ? 1.0 - d : 0.0;
}

double meanOf(const std::vector<double>& v)
{
    double m = 0.0;
    for (double x : v) m += x;
    return m / static_cast<double>(v.size());
}

TEST(CoarseSpeedSystem, IsTheFineSystemOnTheGridAndItsSolveUndoesIt)
{
    for (std::size_t spacing : {4u, 16u}) {
        const FineSystem fine = randomSystem(203, 40, 7 + static_cast<unsigned>(spacing));
        CoarseSpeedSystem coarse = fine.coarse(spacing);
        const std::size_t n = coarse.nodes();
        ASSERT_EQ(n, (fine.frames - 1 + spacing - 1) / spacing + 1);
        const std::vector<double> h = fine.dense();

        std::mt19937 random(3);
        std::normal_distribution<double> normal(0.0, 1.0);
        std::vector<double> v(n);
        for (double& x : v) x = normal(random);
        // P' H P v, written out.
        std::vector<double> pv(fine.frames, 0.0), hpv(fine.frames, 0.0), expected(n, 0.0);
        for (std::size_t t = 0; t < fine.frames; ++t)
            for (std::size_t i = 0; i < n; ++i) pv[t] += hat(i, t, spacing) * v[i];
        for (std::size_t t = 0; t < fine.frames; ++t)
            for (std::size_t k = 0; k < fine.frames; ++k) hpv[t] += h[t * fine.frames + k] * pv[k];
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t t = 0; t < fine.frames; ++t) expected[i] += hat(i, t, spacing) * hpv[t];
        std::vector<double> found(n);
        coarse.multiply(v, found);
        for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(found[i], expected[i], 1e-9 * (1.0 + std::fabs(expected[i])));
        // restrict and prolongAdd are each other's transpose.
        std::vector<double> back(fine.frames, 0.0);
        coarse.prolongAdd(v, back);
        for (std::size_t t = 0; t < fine.frames; ++t) EXPECT_NEAR(back[t], pv[t], 1e-12);
        const std::vector<double> restricted = coarse.restrict(hpv);
        for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(restricted[i], expected[i], 1e-9 * (1.0 + std::fabs(expected[i])));

        // Every partial is short enough to be kept whole: the factored solve
        // gives v back but for the constant, which changes nothing.
        ASSERT_TRUE(coarse.factor());
        std::vector<double> z;
        coarse.solveFactored(found, z);
        ASSERT_EQ(z.size(), n);
        const double mz = meanOf(z), mv = meanOf(v);
        for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(z[i] - mz, v[i] - mv, 1e-5) << "spacing " << spacing << " node " << i;
    }
}

TEST(CoarseSpeedSystem, PartialsTooLongForTheBandStillGiveADescentDirection)
{
    // Partials over most of the run span far more nodes than are factored:
    // they are left out of the factor, which stays definite and points
    // downhill for any right-hand side.
    const FineSystem fine = randomSystem(2000, 1800, 11);
    CoarseSpeedSystem coarse = fine.coarse(8);
    ASSERT_TRUE(coarse.factor());
    std::mt19937 random(5);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int trial = 0; trial < 5; ++trial) {
        std::vector<double> b(coarse.nodes()), z;
        for (double& x : b) x = normal(random);
        coarse.solveFactored(b, z);
        double bz = 0.0;
        for (std::size_t i = 0; i < b.size(); ++i) {
            ASSERT_TRUE(std::isfinite(z[i]));
            bz += b[i] * z[i];
        }
        EXPECT_GT(bz, 0.0);
    }
}

TEST(CoarseSpeedSystem, EmptyOrUnweightedSystemsAreRefused)
{
    CoarseSpeedSystem none(0, 64, 0);
    EXPECT_EQ(none.nodes(), 0u);
    EXPECT_FALSE(none.factor());
    CoarseSpeedSystem unweighted(500, 64, 2);
    unweighted.addObservation(0, 10, 0.0);
    unweighted.addObservation(5, 10, 1.0);   // no such partial
    unweighted.addObservation(1, 900, 1.0);  // no such frame
    EXPECT_FALSE(unweighted.factor());
    std::vector<double> z;
    unweighted.solveFactored(std::vector<double>(unweighted.nodes(), 1.0), z);
    EXPECT_EQ(z.size(), unweighted.nodes());
}

}  // namespace
