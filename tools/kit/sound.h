// Small sound files for demo content and tests: a PCM WAVE and a Standard
// MIDI file (format 0, one track).
#pragma once

#include <vector>

#include "tools/kit/bytes.h"

namespace kit {

// An 8-bit mono PCM WAVE at `rate` Hz: a square wave of `hz` for `ms`.
Bytes buildWave(int rate, int hz, int ms);

struct MidiNote {
    int key;        // 0-127
    int velocity;   // 1-127
    int ticks;      // length in ticks
};
// Format 0, one track, `division` ticks a quarter note, the notes played
// one after another on channel 0, then end of track.
Bytes buildMidi(const std::vector<MidiNote>& notes, int division = 96);

}  // namespace kit
