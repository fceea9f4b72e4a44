#pragma once
// The level of the speed held to the music's own tuning.
//
// Where one group of notes hands over to the next through few partials, or
// none, the solver carries the speed across by its prior, and what it gets
// wrong there stays as a step in the level of the speed until the next
// hand-over; over minutes such steps add up. Music keeps its tuning: its
// notes lie on a grid of semitones (100 cents) around a pitch of its own,
// and so do their octaves. With the speed right, every partial's frequency
// at speed 1.0, in cents modulo 100, gathers at the same place all through
// the run; where the speed found is off by d, the partials sounding then are
// off by d too. The anchor reads that from the partials' references and
// gives the speed back what it finds:
//
// 1. Per block of about a second, every partial sounding in it, at its
//    reference's place in cents modulo 100, weighted by its observations'
//    weights in the block times its track's weight (a singer's vibrato
//    counts little).
// 2. The place the run starts from: the highest peak of the places (smoothed
//    by a Gaussian of 1 cent) in the first stretch of 10 s where it stands
//    kClarity times above an even spread. Where none does, the music keeps
//    no tuning grid (noise, speech, sweeps, notes anywhere) and nothing is
//    changed.
// 3. A Kalman filter and smoother over the blocks: the offset d walks at
//    kWanderCents per root second (how fast the solver's level errors come).
//    Each block measures it from the places within a gate of kGateCents
//    around the offset so far (the fifth and seventh harmonics, 14 and 31
//    cents below the notes, stay outside). The partials of one note or chord
//    agree with each other whatever its tuning, so they are one witness: the
//    partials starting together are an event, each event's place is the mean
//    of its partials', and the measurement is the weighted mean of the
//    events with the variance of that mean (their spread, never taken as
//    less than kEventCents, over how many events count). A block with fewer
//    than three events, or with less than 15 % of its weight in the gate,
//    measures nothing and keeps what its neighbours say. Loosely tuned notes
//    thus move the offset little, many well-tuned ones much.
//    Then how far the run's notes stray from the place followed (RMS, each
//    note at its partials within 12 cents) is the least each note is taken
//    to stray, and the filter runs again with it. Music whose notes stray by
//    more than kLooseCents (4.5 cents; notes spread evenly over +-8 cents
//    and more) pins the level no better than the solver did: the speed is
//    left as it was.
// 4. The offset smoothed, less its median, is added to the log speed,
//    interpolated between block centres.
//
// Music whose own pitch moves over the run (a choir singing flat) is held to
// where it started, as a tape that slowed would be.
#include "detectors/PreciseObservations.h"

#include <vector>

namespace wowfix {

struct TuningAnchorResult {
    bool found = false;        // the music showed a tuning
    double largestMove = 0.0;  // the most the speed was moved, log
};

// `x`: the log speed per frame (NaN where unknown), moved in place;
// `reference` (log) and `trackWeight`: per track, as the solver found them;
// `frameRate`: frames per second.
TuningAnchorResult anchorToTuning(const PreciseObservations& observations, const std::vector<double>& reference,
                                  const std::vector<double>& trackWeight, double frameRate, std::vector<double>& x);

}  // namespace wowfix
