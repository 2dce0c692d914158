// tools/music_parts.cpp — grid arithmetic, chord tables and voice presets of the soundtrack.
#include "tools/music_parts.h"

#include <cmath>

namespace assets {
namespace {

// A minor, climbing: Am, F, C, G.
const Chord kBuild[] = {{45, {57, 60, 64, 67}}, {41, {57, 60, 64, 65}}, {36, {55, 60, 64, 67}}, {43, {55, 59, 62, 67}}};
// D minor with a major dominant: Dm, Bb, Gm, A.
const Chord kCloud[] = {{38, {50, 53, 57, 62}}, {34, {50, 53, 58, 62}}, {43, {50, 55, 58, 62}}, {33, {49, 52, 57, 61}}};
// Low E phrygian: Em, F, Em, Dm, each held for two bars.
const Chord kCave[] = {{28, {52, 55, 59, 64}}, {29, {53, 57, 60, 65}}, {28, {52, 55, 59, 64}}, {26, {50, 53, 57, 62}}};
// C major, voiced high: F, C, G, Am.
const Chord kSky[] = {{41, {60, 65, 69, 72}}, {36, {60, 64, 67, 71}}, {43, {59, 62, 67, 71}}, {45, {60, 64, 69, 72}}};
// The close: Fmaj7, C/E, Dm9, Am.
const Chord kClose[] = {{41, {53, 57, 60, 64}}, {40, {52, 55, 60, 67}}, {38, {53, 57, 60, 64}}, {33, {52, 55, 57, 60}}};

const Chord& Cycle(const Chord (&chords)[4], int bar) { return chords[((bar % 4) + 4) % 4]; }

}  // namespace

Grid::Grid(double originTime, double beatSeconds, std::vector<double> hitTimes)
    : origin(originTime), step(beatSeconds / 4), bar(beatSeconds * 4), hits(std::move(hitTimes)) {}

int Grid::FirstStep(double t) const { return static_cast<int>(std::ceil((t - origin) / step - 1e-6)); }

bool Grid::DrumsAllowed(double t) const {
    for (double hit : hits)
        if (t > hit - 0.15 && t < hit + 0.12) return false;
    return true;
}

const Chord& BuildChord(int bar) { return Cycle(kBuild, bar); }
const Chord& CloudChord(int bar) { return Cycle(kCloud, bar); }
const Chord& CaveChord(int bar) { return Cycle(kCave, bar); }
const Chord& SkyChord(int bar) { return Cycle(kSky, bar); }
const Chord& CloseChord(int bar) { return Cycle(kClose, bar); }

synth::Voice PadVoice(double cutoff, float width) {
    synth::Voice v;
    v.oscillators = 3;
    v.detune = 18;
    v.cutoff = cutoff;
    v.attack = 0.3;
    v.decay = 1.0;
    v.sustain = 0.8;
    v.release = 0.8;
    v.gain = 0.075f;
    v.width = width;
    return v;
}

synth::Voice BassVoice(double cutoff) {
    synth::Voice v;
    v.oscillators = 2;
    v.detune = 8;
    v.cutoff = cutoff;
    v.cutoffEnvelope = 1200;
    v.filterDecay = 0.09;
    v.resonance = 1.4;
    v.attack = 0.003;
    v.decay = 0.15;
    v.sustain = 0.6;
    v.release = 0.05;
    v.gain = 0.3f;
    return v;
}

synth::Voice ArpVoice(double cutoff, float pan) {
    synth::Voice v;
    v.wave = synth::Wave::Square;
    v.cutoff = cutoff;
    v.cutoffEnvelope = 1500;
    v.filterDecay = 0.05;
    v.attack = 0.002;
    v.decay = 0.08;
    v.sustain = 0.3;
    v.release = 0.06;
    v.gain = 0.07f;
    v.pan = pan;
    return v;
}

synth::Voice StabVoice(float gain) {
    synth::Voice v;
    v.oscillators = 3;
    v.detune = 20;
    v.cutoff = 900;
    v.cutoffEnvelope = 7000;
    v.filterDecay = 0.12;
    v.attack = 0.001;
    v.decay = 0.1;
    v.sustain = 0.6;
    v.release = 0.25;
    v.gain = gain;
    v.width = 0.8f;
    return v;
}

synth::Voice LeadVoice() {
    synth::Voice v;
    v.oscillators = 2;
    v.detune = 10;
    v.cutoff = 2600;
    v.cutoffEnvelope = 2000;
    v.filterDecay = 0.15;
    v.resonance = 1.2;
    v.attack = 0.01;
    v.decay = 0.2;
    v.sustain = 0.6;
    v.release = 0.15;
    v.gain = 0.12f;
    v.width = 0.3f;
    return v;
}

synth::Voice BellVoice(float gain, float pan) {
    synth::Voice v;
    v.wave = synth::Wave::Sine;
    v.cutoff = 12000;
    v.attack = 0.002;
    v.decay = 0.9;
    v.sustain = 0.0;
    v.release = 0.6;
    v.gain = gain;
    v.pan = pan;
    return v;
}

}  // namespace assets
