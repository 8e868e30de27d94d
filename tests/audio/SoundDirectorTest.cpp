// The rules that turn game events and the craft's motion into sound commands, against a recording
// output.
#include "audio/SoundDirector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/audio/RecordingOutput.h"

namespace {

using namespace common::scene;
using Lines = std::vector<std::string>;

const GameEvent kFinished{GameEventType::Finished, 0, 30.0};
const GameEvent kCrashed{GameEventType::Crashed, 0, 12.0};
const GameEvent kRestarted{GameEventType::Restarted, 0, 0.0};
GameEvent ring(int index, double time) {
    return {GameEventType::RingCaptured, index, time};
}
GameEvent tick(int n) {
    return {GameEventType::CountdownTick, n, 0.0};
}

struct Rig {
    RecordingOutput out;
    common::audio::SoundDirector director{out};

    Lines frame(const GameEvents& events, float speed = 6.0f, float verticalSpeed = 0.0f) {
        director.frame(events, speed, verticalSpeed, 1.0 / 60.0);
        return out.take();
    }
    // The loops once they have settled at this motion: {engine, wind}.
    std::pair<RecordingOutput::Level, RecordingOutput::Level> settled(float speed, float verticalSpeed) {
        for (int i = 0; i < 60; ++i) {
            frame({}, speed, verticalSpeed);
        }
        return {out.engine, out.wind};
    }
};

}  // namespace

TEST(SoundDirector, EventsPauseAndMutePlayTheirSounds) {
    // Each frame may begin with the player's "pause", "resume" or "mute" (M, which toggles).
    struct Frame {
        GameEvents events;
        std::string control = "";
    };
    struct Case {
        const char* what;
        std::vector<Frame> frames;
        Lines expected;
    };
    const Case cases[] = {
        {"countdown",
         {{{tick(3)}}, {{tick(2)}}, {{tick(1)}}, {{tick(0)}}},
         {"once Beep", "loops", "once Beep", "loops", "once Beep", "loops", "once GoBeep", "loops"}},
        {"capture", {{{ring(0, 1.0)}}}, {"once Chime", "loops"}},
        {"finish ring: the fanfare alone, the loops end",
         {{{ring(7, 30.0), kFinished}}, {}},
         {"once Fanfare", "stopLoop Engine", "stopLoop Wind"}},
        {"crash, the loops end",
         {{}, {{kCrashed}}, {}},
         {"loops", "once Crash", "stopLoop Engine", "stopLoop Wind"}},
        {"restart after a crash",
         {{{kCrashed}}, {{kRestarted, tick(3)}}},
         {"once Crash", "stopLoop Engine", "stopLoop Wind", "stopAll", "once Beep", "loops"}},
        {"restart during a chime",
         {{{ring(0, 1.0)}}, {{kRestarted}}},
         {"once Chime", "loops", "stopAll", "loops"}},
        {"pause holds everything once, resume releases it",
         {{{}, "pause"}, {{tick(2)}, "pause"}, {{}, "resume"}},
         {"pause", "once Beep", "resume", "loops"}},
        {"a restart while paused ends the pause",
         {{{}, "pause"}, {{kRestarted}}, {{}, "resume"}},
         {"pause", "stopAll", "loops", "loops"}},
        {"mute stays through a restart",
         {{{}, "mute"}, {{kRestarted}}, {{}, "mute"}},
         {"mute", "loops", "stopAll", "loops", "unmute", "loops"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        Lines heard;
        for (const Frame& frame : c.frames) {
            if (frame.control == "mute") {
                const bool wasMuted = rig.director.muted();
                EXPECT_NE(rig.director.toggleMute(), wasMuted);
            } else if (!frame.control.empty()) {
                rig.director.setPaused(frame.control == "pause");
            }
            const Lines lines = rig.frame(frame.events);
            heard.insert(heard.end(), lines.begin(), lines.end());
        }
        EXPECT_EQ(heard, c.expected);
    }
}

TEST(SoundDirector, ChimeRisesForCapturesInQuickSuccession) {
    // Capture times (a negative one stands for a restart) and, for every chime after the first, '+'
    // higher than the one before or '0' back at the first chime's pitch.
    const std::pair<std::vector<double>, std::string> cases[] = {
        {{1.0, 2.0, 3.0, 4.0}, "+++"},
        {{1.0, 10.0}, "0"},
        {{1.0, 2.0, 3.0, 20.0, 21.0}, "++0+"},
        {{1.0, 2.0, -1.0, 1.5}, "+0"},
    };
    for (const auto& [times, expected] : cases) {
        Rig rig;
        for (double time : times) {
            rig.frame({time < 0 ? kRestarted : ring(0, time)});
        }
        const auto& chimes = rig.out.once;
        std::string heard;
        for (std::size_t i = 1; i < chimes.size(); ++i) {
            heard += chimes[i].pitch > chimes[i - 1].pitch ? '+'
                     : chimes[i].pitch == chimes[0].pitch  ? '0'
                                                           : '?';
        }
        EXPECT_EQ(heard, expected);
    }

    // A long run, even within one frame, climbs at most an octave.
    Rig rig;
    GameEvents many;
    for (int i = 0; i < 40; ++i) {
        many.push_back(ring(i, 1.0 + 0.01 * i));
    }
    rig.frame(many);
    ASSERT_EQ(rig.out.once.size(), 40u);
    EXPECT_GT(rig.out.once.back().pitch, 1.5f * rig.out.once[0].pitch);
    EXPECT_LE(rig.out.once.back().pitch, 2.0f * rig.out.once[0].pitch + 1e-4f);
}

TEST(SoundDirector, EngineAndWindRiseWithSpeedAndTheWindWithDiving) {
    Rig rig;
    // From below the slowest to beyond the fastest flight nothing ever falls; gains stay in range.
    auto previous = rig.settled(0.0f, 0.0f);
    for (float speed = 1.0f; speed <= 16.0f; speed += 1.0f) {
        const auto loops = rig.settled(speed, 0.0f);
        for (const auto& [now, before] :
             {std::pair(loops.first, previous.first), {loops.second, previous.second}}) {
            EXPECT_GE(now.pitch, before.pitch - 1e-5f) << speed;
            EXPECT_GE(now.gain, before.gain - 1e-5f) << speed;
            EXPECT_GT(now.gain, 0.0f);
            EXPECT_LE(now.gain, 1.0f);
        }
        previous = loops;
    }
    const auto slow = rig.settled(2.0f, 0.0f);
    const auto fast = rig.settled(12.0f, 0.0f);
    EXPECT_GT(fast.first.pitch, 1.3f * slow.first.pitch);
    EXPECT_GT(fast.first.gain, slow.first.gain);
    EXPECT_GT(fast.second.gain, 2.0f * slow.second.gain);

    // At one speed a steeper dive blows harder; climbing is no louder than level flight.
    const float level = rig.settled(6.0f, 0.0f).second.gain;
    float wind = rig.settled(6.0f, 2.0f).second.gain;
    EXPECT_LE(wind, level + 1e-5f);
    for (float sink : {0.0f, 2.0f, 4.0f, 8.0f, 12.0f}) {
        const float gain = rig.settled(6.0f, -sink).second.gain;
        EXPECT_GE(gain, wind - 1e-5f) << sink;
        wind = gain;
    }
    EXPECT_GT(wind, level + 0.2f);
}
