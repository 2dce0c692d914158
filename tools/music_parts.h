// tools/music_parts.h — the soundtrack's building blocks above the instruments: the beat grid,
// the chords of each section and the voice presets.
#pragma once

#include <vector>

#include "tools/synth.h"

namespace assets {

// Sixteenth-note steps from an origin at one tempo, and the hits the drums make room for.
struct Grid {
    Grid(double origin, double beatSeconds, std::vector<double> hits);
    double Time(int step) const { return origin + step * this->step; }
    // The first step at or after time t.
    int FirstStep(double t) const;
    // False just before and just after a hit, where the hit plays alone.
    bool DrumsAllowed(double t) const;

    double origin;
    double step;   // seconds per sixteenth
    double bar;    // seconds per bar
    std::vector<double> hits;
};

struct Chord {
    int bass;      // MIDI note
    int pad[4];    // MIDI notes
};

// The chord of bar `bar` (counted from the section's start) of each section.
const Chord& BuildChord(int bar);
const Chord& CloudChord(int bar);
const Chord& CaveChord(int bar);
const Chord& SkyChord(int bar);
const Chord& CloseChord(int bar);

synth::Voice PadVoice(double cutoff, float width = 0.6f);
synth::Voice BassVoice(double cutoff);
synth::Voice ArpVoice(double cutoff, float pan);
synth::Voice StabVoice(float gain);
synth::Voice LeadVoice();
synth::Voice BellVoice(float gain, float pan);

}  // namespace assets
