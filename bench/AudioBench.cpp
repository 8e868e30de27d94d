// Cost of the game's sound per frame on the frame loop's thread: GameAudio::frame with the events of
// a played game (countdown, captures, a burst of captures, pause, mute, restart, crash) and a craft
// whose speed and climb rate change every frame, paced at 60 frames per second so that the device's
// mixer runs beside it as in the game. Also start-up: opening the device and reading the sounds.
//
// Without ALSOFT_DRIVERS set it uses OpenAL Soft's "null" device, which mixes in real time and plays
// nowhere, so the figures are the same with or without a sound card.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/GameAudio.h"
#include "bench/BenchSupport.h"

using common::audio::GameAudio;
using common::scene::GameEvents;
using common::scene::GameEventType;

namespace {

constexpr int kFrames = 900;
constexpr double kStep = 1.0 / 60.0;

// What the rules report in frame `frame` of the scripted game.
GameEvents eventsAt(int frame) {
    const double time = (frame - 240) * kStep;
    if (frame <= 240 && frame % 60 == 0) {
        return {{GameEventType::CountdownTick, 3 - frame / 60, 0.0}};
    }
    if (frame == 600) {  // twenty rings in one frame
        GameEvents burst;
        for (int i = 0; i < 20; ++i) {
            burst.push_back({GameEventType::RingCaptured, i, time});
        }
        return burst;
    }
    if (frame == 850) {
        return {{GameEventType::Restarted}, {GameEventType::CountdownTick, 3}};
    }
    if (frame == 890) {
        return {{GameEventType::Crashed, 0, time}};
    }
    if (frame > 240 && frame % 45 == 0) {
        return {{GameEventType::RingCaptured, frame / 45, time}};
    }
    return {};
}

void printRow(const char* what, const bench::FrameStats& stats, double maxMs) {
    std::printf("| %-34s | %8.4f | %8.4f | %8.4f | %8.4f |\n", what, stats.medianMs, stats.p99Ms, maxMs,
                stats.meanMs);
}

}  // namespace

int main() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    bench::enterRunDirectory();

    const double openStart = bench::nowSeconds();
    std::unique_ptr<GameAudio> audio =
        GameAudio::open([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    const double openMs = bench::millisecondsSince(openStart);
    if (!audio->hasDevice()) {
        std::fputs("bench_audio: no sound device (ALSOFT_DRIVERS)\n", stderr);
        return 1;
    }
    const int sources = GameAudio::liveSources();
    const int buffers = GameAudio::liveBuffers();

    std::vector<double> all, withEvents;
    double worst = 0.0;
    const double cpuStart = bench::processCpuSeconds();
    for (int frame = 0; frame < kFrames; ++frame) {
        const GameEvents events = eventsAt(frame);
        const float speed = 7.0f + 5.0f * float(std::sin(frame * 0.01));
        const float climb = 4.0f * float(std::sin(frame * 0.023));
        const double start = bench::nowSeconds();
        if (frame == 700 || frame == 730) {
            audio->setPaused(frame == 700);
        }
        if (frame == 800 || frame == 820) {
            audio->toggleMute();
        }
        audio->frame(events, speed, climb, kStep);
        const double ms = bench::millisecondsSince(start);
        all.push_back(ms);
        if (!events.empty()) {
            withEvents.push_back(ms);
        }
        worst = std::max(worst, ms);
        std::this_thread::sleep_for(std::chrono::duration<double>(kStep));
    }
    const double cpuSeconds = bench::processCpuSeconds() - cpuStart;

    std::printf("Sound per frame (%d frames at 60 per second, OpenAL Soft device \"%s\"; load %s)\n\n",
                kFrames, std::getenv("ALSOFT_DRIVERS"), bench::loadAverages().c_str());
    std::printf("| %-34s | %8s | %8s | %8s | %8s |\n", "GameAudio::frame, ms", "median", "p99", "max",
                "mean");
    std::printf("|%s|----------|----------|----------|----------|\n", std::string(36, '-').c_str());
    printRow("every frame", bench::summarize(all), worst);
    double worstWithEvents = 0.0;
    for (double ms : withEvents) {
        worstWithEvents = std::max(worstWithEvents, ms);
    }
    printRow("frames with events", bench::summarize(withEvents), worstWithEvents);
    std::printf("\nGoal: under 0.5 ms per frame: %s (p99 %.4f ms, max %.4f ms)\n",
                bench::summarize(all).p99Ms < 0.5 ? "met" : "missed", bench::summarize(all).p99Ms, worst);
    std::printf("Whole process CPU, mixer thread included: %.3f ms per frame\n",
                cpuSeconds * 1000.0 / kFrames);
    std::printf("Opening the device and reading the %d sounds: %.1f ms\n", common::audio::kSoundCount,
                openMs);
    std::printf("OpenAL sources / buffers: %d / %d at start, %d / %d at the end\n", sources, buffers,
                GameAudio::liveSources(), GameAudio::liveBuffers());
    return 0;
}
