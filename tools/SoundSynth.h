#pragma once

#include "tools/Waveform.h"

namespace common::assetgen {

// The game's sounds, synthesised from fixed seeds. The two loops hold a whole number of cycles of
// everything periodic in them and their noise is filtered around the loop, so their end runs into
// their start without a click.
class SoundSynth {
  public:
    // A low, buzzing engine drone: 55 Hz with its harmonics, throbbing five times a second (1 s).
    static Waveform engineLoop();
    // Rushing air: band-limited noise with slow gusts (4 s).
    static Waveform windLoop();
    // A bright bell-like note on C6 (about 1047 Hz) that rings out (1 s).
    static Waveform chime();
    // Three rising brass notes and a held top C (C5 E5 G5 C6, 1.6 s).
    static Waveform fanfare();
    // A thump and a burst of noise dying away (1.5 s).
    static Waveform crash();
    // A short countdown beep at `frequency` Hz lasting `seconds`.
    static Waveform beep(double frequency, double seconds);
};

}  // namespace common::assetgen
