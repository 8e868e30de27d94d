#include "audio/SoundDirector.h"

#include <algorithm>
#include <cmath>

namespace common::audio {

namespace {

using scene::GameEventType;

// The flight model's speeds run from about 2 (climbing hard) to about 12 (a long dive).
constexpr float kSlowSpeed = 2.0f;
constexpr float kFastSpeed = 12.0f;
// Sinking this fast (units/s) gives the wind its full dive share.
constexpr float kFullDive = 8.0f;
// Loop pitch and gain follow their targets with this time constant (seconds): smooth, yet quick.
constexpr double kGlideTime = 0.08;

// Captures closer than this (seconds of game time) count as a run.
constexpr double kStreakGap = 2.5;
constexpr int kMaxStreak = 6;
constexpr float kWholeTone = 1.12246205f;  // 2^(2/12)

constexpr float kBeepGain = 0.8f;
constexpr float kChimeGain = 0.8f;
constexpr float kFanfareGain = 1.0f;
constexpr float kCrashGain = 1.0f;

float glide(float current, float target, double dt) {
    const float keep = float(std::exp(-std::max(dt, 0.0) / kGlideTime));
    return target + (current - target) * keep;
}

}  // namespace

void SoundDirector::frame(const scene::GameEvents& events, float speed, float verticalSpeed, double dt) {
    const bool finished = std::any_of(events.begin(), events.end(), [](const scene::GameEvent& event) {
        return event.type == GameEventType::Finished;
    });
    for (const scene::GameEvent& event : events) {
        onEvent(event, finished);
    }
    if (loopsOn_ && !paused_) {
        updateLoops(speed, verticalSpeed, dt);
    }
}

void SoundDirector::onEvent(const scene::GameEvent& event, bool finishedThisFrame) {
    switch (event.type) {
        case GameEventType::CountdownTick:
            output_->playOnce(event.index == 0 ? Sound::GoBeep : Sound::Beep, 1.0f, kBeepGain);
            break;
        case GameEventType::RingCaptured: {
            // The finish ring's capture is the fanfare's, not a chime's.
            if (finishedThisFrame) {
                break;
            }
            const bool inRun = captured_ && event.time - lastCaptureTime_ <= kStreakGap;
            streak_ = inRun ? std::min(streak_ + 1, kMaxStreak) : 0;
            captured_ = true;
            lastCaptureTime_ = event.time;
            output_->playOnce(Sound::Chime, std::pow(kWholeTone, float(streak_)), kChimeGain);
            break;
        }
        case GameEventType::Finished:
            output_->playOnce(Sound::Fanfare, 1.0f, kFanfareGain);
            stopLoops();
            break;
        case GameEventType::Crashed:
            output_->playOnce(Sound::Crash, 1.0f, kCrashGain);
            stopLoops();
            break;
        case GameEventType::Restarted:
            output_->stopAll();
            paused_ = false;
            loopsOn_ = true;
            loopsFresh_ = true;
            streak_ = 0;
            captured_ = false;
            break;
    }
}

void SoundDirector::stopLoops() {
    output_->stopLoop(Sound::Engine);
    output_->stopLoop(Sound::Wind);
    loopsOn_ = false;
}

void SoundDirector::updateLoops(float speed, float verticalSpeed, double dt) {
    const float pace = std::clamp((speed - kSlowSpeed) / (kFastSpeed - kSlowSpeed), 0.0f, 1.0f);
    const float dive = std::clamp(-verticalSpeed / kFullDive, 0.0f, 1.0f);
    const float enginePitch = 0.8f + 0.7f * pace;
    const float engineGain = 0.35f + 0.3f * pace;
    const float windPitch = 0.9f + 0.3f * pace + 0.2f * dive;
    const float windGain = 0.08f + 0.5f * pace + 0.4f * dive;
    if (loopsFresh_) {
        enginePitch_ = enginePitch;
        engineGain_ = engineGain;
        windPitch_ = windPitch;
        windGain_ = windGain;
        loopsFresh_ = false;
    } else {
        enginePitch_ = glide(enginePitch_, enginePitch, dt);
        engineGain_ = glide(engineGain_, engineGain, dt);
        windPitch_ = glide(windPitch_, windPitch, dt);
        windGain_ = glide(windGain_, windGain, dt);
    }
    output_->setLoop(Sound::Engine, enginePitch_, engineGain_);
    output_->setLoop(Sound::Wind, windPitch_, windGain_);
}

void SoundDirector::setPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    paused_ = paused;
    if (paused) {
        output_->pauseAll();
    } else {
        output_->resumeAll();
    }
}

void SoundDirector::setVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    output_->setVolume(volume_);
}

bool SoundDirector::toggleMute() {
    muted_ = !muted_;
    output_->setMuted(muted_);
    return muted_;
}

}  // namespace common::audio
