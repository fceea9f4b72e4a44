#pragma once
// The speed of a run from everything its partials showed, solved jointly.
//
// A partial j sounding in frame t at speed s_t has the log frequency
//
//     y_jt = x_t + a_j + e_jt,   x_t = log s_t,  a_j = log of its frequency at speed 1.0,
//
// the tape's speed being common to every partial at once and a_j each note's
// own reference over its whole life. The solve:
//
// 1. The vibrato check (PreciseVibratoCheck) on every partial's own log
//    frequency: the tape's swing at 4..8 Hz is common to all partials, so the
//    steadiest 30 % of them (by frames) show it; a partial that swings by more
//    than three times that (and more than 0.025 %), a singer's vibrato, is
//    down-weighted as a whole.
// 2. A first estimate in time order: each frame's x_t is the robust joint
//    value (JointSpeed) of y_jt - a_j over the partials that already have a
//    reference, then every partial of the frame adds y_jt - x_t to its own.
//    When the steady partials with a reference disagree, nothing is learnt
//    in the frame; when there are none, it keeps the last speed and the new
//    notes start from it.
// 3. Rounds of reweighting and refinement (six in all). A partial whose deviation
//    from the joint speed r_jt = y_jt - a_j - x_t (a swing at vibrato rates,
//    or its RMS times sqrt 2) is more than three times the typical one (and
//    more than 0.005 %) is down-weighted as a whole, and within each frame a
//    Tukey bisquare on r_jt / (4.685 scale) sets aside what the frame's other
//    partials disagree with; the scale is the frame's own spread, but never
//    more than three times how closely the partials agree over the whole run
//    (where most of a frame's weight strays, its spread says nothing). A
//    frame held by fewer than three partials, counted by weight, cannot
//    check them against each other: its weights are scaled by the square of
//    their number over three, so that the prior carries the speed there.
//    Then sweeps alternately forward and backward in
//    time solve the weighted least squares for x and a (each x_t the weighted
//    mean of y_jt - a_j, each a_j the weighted mean of y_jt - x_t), so every
//    note's reference comes from all of its frames and from the speed of all
//    the notes sounding with it.
// 4. The speed is smooth and predictable where the notes are not: from the
//    first round's speed the solver learns how it goes on from frame to
//    frame (a linear prediction from the 32 frames before, on its second
//    differences, so that a constant and a steady ramp cost nothing), and
//    the later rounds solve the least squares above with the prediction
//    errors of x added as a prior, weighted by how well the prediction holds
//    against how well the partials agree. Where a group of notes hands over
//    to the next through few partials, or none, the prior carries the speed
//    (wow and flutter go on as they came) instead of a step. These rounds
//    are solved by conjugate gradients over the whole run with every
//    reference eliminated, preconditioned by the diagonal and by the same
//    least squares on a coarse grid (CoarseSpeedSystem), so that the level
//    of the speed over minutes comes out as right as its detail. A run too
//    short to learn from keeps the sweeps.
// 5. What the hand-overs still leave of the speed's level, the music's
//    tuning tells (PreciseTuningAnchor).
//
// The last two frames of every partial (its stop, which pulls the measured
// frequency) are left out. A frame's confidence is the share of its partials'
// weight that counts after reweighting, times min(1, partials counted / 3); a
// frame below 0.25 has no speed (NaN).
#include "detectors/PreciseObservations.h"

#include <vector>

namespace wowfix {

class PreciseSpeedSolver {
public:
    // `frameRate`: frames per second, for the vibrato rate.
    void solve(const PreciseObservations& observations, double frameRate);

    // Per frame: log speed (NaN where unknown) and confidence 0..1.
    const std::vector<double>& logSpeed() const { return x_; }
    const std::vector<float>& confidence() const { return confidence_; }
    // Weight of a whole track after the vibrato check and the check of
    // its deviation from the joint speed, 0..1 (0 for a track not observed).
    double trackWeight(std::size_t track) const { return track < trackWeight_.size() ? trackWeight_[track] : 0.0; }
    // The swing at vibrato rates that partials typically share (the tape's).
    double tapeSwing() const { return tapeSwing_; }

private:
    template <typename Value>
    std::vector<std::vector<double>> series(Value value) const;
    bool usable(const PreciseObservation& o, std::size_t frame) const;
    void checkVibrato();
    void checkDeviations();
    void seed();
    void reweight();
    void startSums();
    double sweep(bool forward);
    bool fitPrior();
    void solveJointly();
    void solveWhole(std::vector<double>& x, const std::vector<double>& c, const std::vector<double>& diagonal);
    void applyNormal(const std::vector<double>& v, std::vector<double>& out);
    void rate();

    const PreciseObservations* obs_ = nullptr;
    double frameRate_ = 0.0;
    double tapeSwing_ = 0.0;
    std::vector<double> x_;
    std::vector<float> confidence_;
    std::vector<double> a_;        // per track
    std::vector<double> sum_;      // per track: sum of u (y - x)
    std::vector<double> total_;    // per track: sum of u
    std::vector<double> trackMean_;  // per track, scratch of the joint solve
    std::vector<double> filter_;   // the speed's prediction-error filter
    double lambda_ = 0.0;          // its weight; 0 without a prior
    std::vector<double> ownWeight_;
    std::vector<double> trackWeight_;
    std::vector<float> u_;         // per observation
    std::vector<float> few_;       // per frame: the share its weights were scaled by for having few partials
};

}  // namespace wowfix
