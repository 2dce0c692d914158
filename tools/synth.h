// tools/synth.h — the soundtrack's instruments: oscillators, a filter, one-shot voices for
// drums and notes, and the delay and reverb they are mixed through.
//
// Every voice is rendered once, from its start sample to the end of its envelope, and added
// into a stereo buffer; nothing depends on anything but the arguments, so the output is the
// same on every run.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {
namespace synth {

constexpr double kRate = 44100.0;

struct Stereo {
    explicit Stereo(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
    // Adds `value` at frame `at`, split by `pan` (0 left, 1 right); out-of-range frames are dropped.
    void Add(std::size_t at, float value, float pan) {
        if (at >= left.size()) return;
        left[at] += value * (1.0f - pan);
        right[at] += value * pan;
    }
    std::vector<float> left, right;
};

// The frame at time `seconds`.
std::size_t FrameAt(double seconds);
double NoteHz(double midiNote);

// White noise from a seeded generator of our own.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed ? seed : 1u) {}
    float Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) * (2.0f / 4294967296.0f) - 1.0f;
    }

private:
    std::uint32_t state;
};

// A state-variable filter (trapezoidal integration): low-, band- and high-pass at once.
class Filter {
public:
    void Set(double hz, double resonance);   // resonance 0.5 (none) .. 10
    struct Out {
        float low, band, high;
    };
    Out Process(float x);

private:
    float g = 0, k = 2, a1 = 1, a2 = 0, a3 = 0, ic1 = 0, ic2 = 0;
};

// Drum voices, added into `out` from time `at`.
void Kick(Stereo& out, double at, float gain, float lowHz = 44.0f);
void Snare(Stereo& out, double at, float gain, std::uint32_t seed);
void HiHat(Stereo& out, double at, float gain, bool open, float pan, std::uint32_t seed);
void Crash(Stereo& out, double at, float gain, std::uint32_t seed);
// Rising filtered noise that ends at `end`: a sweep into a downbeat.
void Riser(Stereo& out, double start, double end, float gain, std::uint32_t seed);
// A short sine blip gliding upwards, like a bubble.
void Bubble(Stereo& out, double at, double hz, float gain, float pan);

enum class Wave { Saw, Square, Sine };

// A note of a subtractive voice: detuned oscillators through a low-pass filter with its own
// envelope, under an attack-decay-sustain-release level.
struct Voice {
    Wave wave = Wave::Saw;
    int oscillators = 1;        // spread evenly over `detune` cents and across the stereo field
    double detune = 0;          // cents between the outermost oscillators
    double cutoff = 2000;       // Hz
    double cutoffEnvelope = 0;  // Hz added at the start, falling with `filterDecay`
    double filterDecay = 0.2;   // seconds
    double resonance = 0.7;
    double attack = 0.005, decay = 0.2, sustain = 0.7, release = 0.1;   // seconds, level
    float gain = 0.2f;
    float pan = 0.5f;
    float width = 0.0f;         // 0: every oscillator at `pan`; 1: spread from left to right
};
// Holds the note for `length` seconds, then releases it.
void Note(Stereo& out, double at, double length, double hz, const Voice& voice);

// Feedback delay, ping-ponging between the sides, its repeats darkened; `wet` of it is added.
void PingPongDelay(const Stereo& in, Stereo& out, double seconds, float feedback, float wet);
// A small room (parallel damped combs and allpasses per side), added into `out`.
void Reverb(const Stereo& in, Stereo& out, float wet, float size);

}  // namespace synth
}  // namespace assets
