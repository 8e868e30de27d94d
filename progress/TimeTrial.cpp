#include "progress/TimeTrial.h"

#include <algorithm>
#include <ctime>

#include "progress/GhostFile.h"

namespace common::progress {
namespace {

// The day a record is set, as the records screen shows it.
std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

}  // namespace

TimeTrial::TimeTrial(RecordStore store, bool recordRuns)
    : store_(std::move(store)), recordRuns_(recordRuns) {}

void TimeTrial::setCourse(const scene::CourseInfo& course, std::size_t ringCount) {
    course_ = course;
    ringCount_ = static_cast<int>(ringCount);
    store_.load();
    best_ = store_.course(course_.recordName());
    parGhost_.reset();
    readParGhostWhenRaced();
    startRun();
}

// Most runs race the best run or nothing: the par flight (hundreds of kilobytes) is read only for a
// course it is raced on.
void TimeTrial::readParGhostWhenRaced() {
    if (ghost_ == GhostChoice::Par && !parGhost_) {
        parGhost_ = course_.parGhostPath.empty()
                        ? GhostTrack()
                        : GhostFile::read(course_.parGhostPath).value_or(GhostTrack());
    }
}

// A restart reads nothing: the records were read with the course, and a best set meanwhile by another
// game is merged when this one saves.
void TimeTrial::startRun() {
    splits_.clear();
    run_.clear();
    lastDelta_.reset();
    summary_.reset();
}

void TimeTrial::update(const scene::GameEvents& events, const RaceFrame& frame) {
    for (const scene::GameEvent& event : events) {
        if (event.type == scene::GameEventType::Restarted) {
            startRun();
        }
    }
    if (frame.flying && !summary_) {
        const bool finishing = std::any_of(events.begin(), events.end(), [](const scene::GameEvent& event) {
            return event.type == scene::GameEventType::Finished;
        });
        run_.record(frame.raceTime, frame.craft, finishing);
    }
    for (const scene::GameEvent& event : events) {
        if (event.type == scene::GameEventType::RingCaptured) {
            ringCaptured(event.index, event.time);
        } else if (event.type == scene::GameEventType::Finished) {
            finished(event.time, frame.score);
        }
    }
}

void TimeTrial::ringCaptured(int ring, double time) {
    splits_.push_back({ring, time});
    lastSplitTime_ = time;
    lastDelta_.reset();
    if (!best_) {
        return;
    }
    for (const Split& split : best_->splits) {
        if (split.ring == ring) {
            lastDelta_ = time - split.time;
        }
    }
}

std::optional<double> TimeTrial::splitShown(double raceTime) const {
    if (summary_ || raceTime >= lastSplitTime_ + kSplitShownFor) {
        return std::nullopt;
    }
    return lastDelta_;
}

void TimeTrial::reloadBest() {
    store_.load();
    best_ = store_.course(course_.name);
}

void TimeTrial::finished(double time, std::int32_t score) {
    RunSummary summary;
    summary.time = time;
    summary.ringsCaptured = static_cast<int>(splits_.size());
    summary.ringCount = ringCount_;
    summary.medal = scene::medalFor(time, course_.par);
    if (best_) {
        summary.previousBest = best_->bestTime;
    }
    const bool faster = !best_ || time < best_->bestTime;
    if (recordRuns_ && faster && time > 0.0) {
        // The run's own score goes with its time, splits and ghost.
        store_.save(course_.recordName(), CourseRecord{time, score, splits_, run_, today()});
        // Ours, or a faster run that another game saved meanwhile.
        best_ = store_.course(course_.recordName());
        summary.newBest = !(best_->bestTime < time);
        if (!summary.newBest) {
            summary.previousBest = best_->bestTime;
        }
    }
    summary_ = summary;
}

std::optional<glm::mat4> TimeTrial::ghostPose(double raceTime) const {
    switch (ghost_) {
        case GhostChoice::MyBest:
            return best_ ? best_->ghost.poseAt(raceTime) : std::nullopt;
        case GhostChoice::Par:
            return parGhost_ ? parGhost_->poseAt(raceTime) : std::nullopt;
        case GhostChoice::Off:
            break;
    }
    return std::nullopt;
}

bool TimeTrial::toggleGhost() {
    ghost_ = ghost_ == GhostChoice::Off ? lastShown_ : GhostChoice::Off;
    readParGhostWhenRaced();
    return ghostOn();
}

void TimeTrial::chooseGhost(GhostChoice choice) {
    ghost_ = choice;
    if (choice != GhostChoice::Off) {
        lastShown_ = choice;
    }
    readParGhostWhenRaced();
}

}  // namespace common::progress
