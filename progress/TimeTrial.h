#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <glm/glm.hpp>

#include "game/CourseInfo.h"
#include "game/GameEvent.h"
#include "game/Medal.h"
#include "progress/CourseRecord.h"
#include "progress/RecordStore.h"
#include "progress/Settings.h"

namespace common::progress {

// How a finished run went, for the finish screen.
struct RunSummary {
    double time = 0.0;
    bool newBest = false;
    // The course's best time before this run; none on a first run.
    std::optional<double> previousBest;
    int ringsCaptured = 0;
    int ringCount = 0;
    scene::Medal medal = scene::Medal::None;
};

// What the game looked like this frame, as far as the time trial cares.
struct RaceFrame {
    double raceTime = 0.0;
    // The scene advanced this frame with the race clock running (not the warm-up, countdown or pause).
    bool flying = false;
    glm::mat4 craft{1.0f};
    std::int32_t score = 0;
};

// The time trial around the game's rules: it reads each frame's events and the craft's pose, times
// the ring captures against the course's best run, records this run's ghost, and on the finish sums
// the run up and writes a new best to the record store (unless runs are not recorded: the autopilot's
// demo). Owned by the renderer; GL-free.
class TimeTrial {
  public:
    // Seconds of race time a split stays on screen.
    static constexpr double kSplitShownFor = 2.0;

    TimeTrial(RecordStore store, bool recordRuns);

    // The course being flown and its number of rings (the finish included): reads the records file for
    // its best run, once per course (restarts only start a new run against what was read).
    void setCourse(const scene::CourseInfo& course, std::size_t ringCount);
    void update(const scene::GameEvents& events, const RaceFrame& frame);

    // This run's time at the last ring minus the best run's at the same ring, while it is shown.
    std::optional<double> splitShown(double raceTime) const;
    // Set once the run has finished.
    const std::optional<RunSummary>& summary() const { return summary_; }
    // Where the chosen ghost's craft was at this race time (the best run's, or the par flight's), when
    // the course has that ghost.
    std::optional<glm::mat4> ghostPose(double raceTime) const;
    // Off, or back on with the ghost last chosen; returns whether it is now on.
    bool toggleGhost();
    bool ghostOn() const { return ghost_ != GhostChoice::Off; }
    void chooseGhost(GhostChoice choice);
    GhostChoice ghostChoice() const { return ghost_; }
    // The course's par flight, empty when it has none.
    const std::optional<CourseRecord>& best() const { return best_; }
    // Reads the course's best run again (after the records were changed elsewhere); the run goes on.
    void reloadBest();

  private:
    void startRun();
    void readParGhostWhenRaced();
    void ringCaptured(int ring, double time);
    void finished(double time, std::int32_t score);

    RecordStore store_;
    bool recordRuns_;
    scene::CourseInfo course_;
    int ringCount_ = 0;
    GhostChoice ghost_ = GhostChoice::MyBest;
    // What the ghost key turns back on.
    GhostChoice lastShown_ = GhostChoice::MyBest;
    // The course's par flight, read when it is first raced (none before).
    std::optional<GhostTrack> parGhost_;
    std::optional<CourseRecord> best_;
    // This run.
    std::vector<Split> splits_;
    GhostTrack run_;
    std::optional<double> lastDelta_;
    double lastSplitTime_ = 0.0;
    std::optional<RunSummary> summary_;
};

}  // namespace common::progress
