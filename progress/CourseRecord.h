#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "progress/GhostTrack.h"

namespace common::progress {

// The race-clock time at which a run captured one ring (its place in course order).
struct Split {
    int ring = 0;
    double time = 0.0;
};

// The best run on one course: its time, its score, its ring times and its flight path.
struct CourseRecord {
    double bestTime = 0.0;
    // The score of the fastest run, not the highest ever flown: it changes only with a faster time.
    std::int32_t bestScore = 0;
    std::vector<Split> splits;
    GhostTrack ghost;
    // The day the run was flown, "2026-12-07" (UTC); empty in records written before days were kept.
    std::string date;
};

}  // namespace common::progress
