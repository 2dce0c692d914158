// tools/synth.cpp — oscillators, the filter, drum and note voices, delay and reverb.
#include "tools/synth.h"

#include <algorithm>
#include <cmath>

namespace assets {
namespace synth {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Band-limited step correction for a phase in 0..1 advancing by `step` per sample.
float PolyBlep(double phase, double step) {
    if (phase < step) {
        const double t = phase / step;
        return static_cast<float>(t + t - t * t - 1.0);
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return static_cast<float>(t * t + t + t + 1.0);
    }
    return 0.0f;
}

struct Oscillator {
    double phase = 0, step = 0;
    float Next(Wave wave) {
        float value = 0;
        switch (wave) {
            case Wave::Saw:
                value = static_cast<float>(2.0 * phase - 1.0) - PolyBlep(phase, step);
                break;
            case Wave::Square: {
                value = phase < 0.5 ? 1.0f : -1.0f;
                value += PolyBlep(phase, step);
                double shifted = phase + 0.5;
                if (shifted >= 1.0) shifted -= 1.0;
                value -= PolyBlep(shifted, step);
                break;
            }
            case Wave::Sine:
                value = static_cast<float>(std::sin(kTwoPi * phase));
                break;
        }
        phase += step;
        if (phase >= 1.0) phase -= 1.0;
        return value;
    }
};

float Decay(double t, double seconds) { return static_cast<float>(std::exp(-t / seconds)); }

}  // namespace

std::size_t FrameAt(double seconds) { return seconds <= 0 ? 0 : static_cast<std::size_t>(std::lround(seconds * kRate)); }

double NoteHz(double midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0); }

void Filter::Set(double hz, double resonance) {
    hz = std::clamp(hz, 20.0, 0.45 * kRate);
    g = static_cast<float>(std::tan(3.141592653589793 * hz / kRate));
    k = static_cast<float>(1.0 / std::max(0.5, resonance));
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

Filter::Out Filter::Process(float x) {
    const float v3 = x - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, x - k * v1 - v2};
}

void Kick(Stereo& out, double at, float gain, float lowHz) {
    const std::size_t start = FrameAt(at);
    const int length = static_cast<int>(0.5 * kRate);
    double phase = 0;
    Noise click(0x4B1Cu);
    for (int i = 0; i < length; ++i) {
        const double t = i / kRate;
        const double hz = lowHz + 120.0 * std::exp(-t / 0.028);
        phase += hz / kRate;
        const float body = static_cast<float>(std::sin(kTwoPi * phase)) * Decay(t, 0.22);
        const float attack = click.Next() * Decay(t, 0.002) * 0.4f;
        out.Add(start + i, gain * (body + attack), 0.5f);
    }
}

void Snare(Stereo& out, double at, float gain, std::uint32_t seed) {
    const std::size_t start = FrameAt(at);
    const int length = static_cast<int>(0.35 * kRate);
    Noise noise(seed);
    Filter band;
    band.Set(2400, 0.9);
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kRate;
        phase += (180.0 + 60.0 * std::exp(-t / 0.01)) / kRate;
        const float tone = static_cast<float>(std::sin(kTwoPi * phase)) * Decay(t, 0.05) * 0.6f;
        const Filter::Out f = band.Process(noise.Next());
        const float rattle = (f.band * 1.2f + f.high * 0.5f) * Decay(t, 0.11);
        out.Add(start + i, gain * (tone + rattle), 0.52f);
    }
}

void HiHat(Stereo& out, double at, float gain, bool open, float pan, std::uint32_t seed) {
    const std::size_t start = FrameAt(at);
    const double decay = open ? 0.18 : 0.028;
    const int length = static_cast<int>(decay * 6.0 * kRate);
    Noise noise(seed);
    Filter high;
    high.Set(7500, 0.8);
    for (int i = 0; i < length; ++i) {
        const double t = i / kRate;
        out.Add(start + i, gain * high.Process(noise.Next()).high * Decay(t, decay), pan);
    }
}

void Crash(Stereo& out, double at, float gain, std::uint32_t seed) {
    const std::size_t start = FrameAt(at);
    const int length = static_cast<int>(3.0 * kRate);
    Noise left(seed), right(seed * 2654435761u + 1u);
    Filter highLeft, highRight;
    highLeft.Set(4200, 0.7);
    highRight.Set(4600, 0.7);
    // Six square partials at inharmonic ratios give the metal; noise gives the wash.
    const double ratios[6] = {1.0, 1.342, 1.2312, 1.6532, 1.9523, 2.1523};
    double phases[6] = {0, 0.1, 0.2, 0.3, 0.4, 0.5};
    for (int i = 0; i < length; ++i) {
        const double t = i / kRate;
        float metal = 0;
        for (int p = 0; p < 6; ++p) {
            phases[p] += 410.0 * ratios[p] / kRate;
            phases[p] -= std::floor(phases[p]);
            metal += phases[p] < 0.5 ? 0.16f : -0.16f;
        }
        const float level = gain * (0.15f * Decay(t, 0.01) + Decay(t, 0.9));
        const float l = highLeft.Process(left.Next() + metal).high;
        const float r = highRight.Process(right.Next() + metal).high;
        if (start + i >= out.Frames()) break;
        out.left[start + i] += level * l;
        out.right[start + i] += level * r;
    }
}

void Riser(Stereo& out, double startTime, double end, float gain, std::uint32_t seed) {
    const std::size_t start = FrameAt(startTime);
    const int length = static_cast<int>((end - startTime) * kRate);
    if (length <= 0) return;
    Noise left(seed), right(seed + 77u);
    Filter filterLeft, filterRight;
    for (int i = 0; i < length; ++i) {
        const double u = static_cast<double>(i) / length;
        if (i % 32 == 0) {
            filterLeft.Set(300.0 * std::pow(30.0, u), 3.0);
            filterRight.Set(320.0 * std::pow(30.0, u), 3.0);
        }
        const float level = gain * static_cast<float>(u * u);
        if (start + i >= out.Frames()) break;
        out.left[start + i] += level * filterLeft.Process(left.Next()).band;
        out.right[start + i] += level * filterRight.Process(right.Next()).band;
    }
}

void Bubble(Stereo& out, double at, double hz, float gain, float pan) {
    const std::size_t start = FrameAt(at);
    const int length = static_cast<int>(0.09 * kRate);
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kRate;
        phase += hz * (1.0 + 14.0 * t) / kRate;
        const float attack = static_cast<float>(std::min(1.0, t / 0.003));
        out.Add(start + i, gain * attack * Decay(t, 0.025) * static_cast<float>(std::sin(kTwoPi * phase)), pan);
    }
}

void Note(Stereo& out, double at, double length, double hz, const Voice& voice) {
    const std::size_t start = FrameAt(at);
    const double total = length + voice.release;
    const int frames = static_cast<int>(total * kRate);
    const int count = std::max(1, voice.oscillators);
    Oscillator oscillators[8];
    float pans[8];
    for (int o = 0; o < count && o < 8; ++o) {
        const double spread = count == 1 ? 0.0 : (static_cast<double>(o) / (count - 1) - 0.5);
        oscillators[o].step = hz * std::pow(2.0, spread * voice.detune / 1200.0) / kRate;
        oscillators[o].phase = std::fmod(0.37 * o + 0.11, 1.0);
        pans[o] = std::clamp(voice.pan + static_cast<float>(spread) * voice.width, 0.0f, 1.0f);
    }
    const int used = std::min(count, 8);
    Filter left, right;
    float releaseFrom = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = i / kRate;
        if (i % 16 == 0) {
            const double cutoff = voice.cutoff + voice.cutoffEnvelope * std::exp(-t / voice.filterDecay);
            left.Set(cutoff, voice.resonance);
            right.Set(cutoff, voice.resonance);
        }
        float level;
        if (t < voice.attack) {
            level = static_cast<float>(t / voice.attack);
        } else if (t < length) {
            const double d = (t - voice.attack) / voice.decay;
            level = static_cast<float>(voice.sustain + (1.0 - voice.sustain) * std::exp(-d));
        } else {
            level = releaseFrom * Decay(t - length, voice.release / 4.0);
        }
        if (t < length) releaseFrom = level;
        float l = 0, r = 0;
        for (int o = 0; o < used; ++o) {
            const float value = oscillators[o].Next(voice.wave);
            l += value * (1.0f - pans[o]);
            r += value * pans[o];
        }
        if (start + i >= out.Frames()) break;
        const float g = voice.gain * level / static_cast<float>(used);
        out.left[start + i] += g * left.Process(l).low;
        out.right[start + i] += g * right.Process(r).low;
    }
}

void PingPongDelay(const Stereo& in, Stereo& out, double seconds, float feedback, float wet) {
    const std::size_t delay = std::max<std::size_t>(1, FrameAt(seconds));
    std::vector<float> lineLeft(delay, 0.0f), lineRight(delay, 0.0f);
    float toneLeft = 0, toneRight = 0;
    std::size_t at = 0;
    for (std::size_t i = 0; i < in.Frames(); ++i) {
        const float delayedLeft = lineLeft[at], delayedRight = lineRight[at];
        toneLeft += 0.35f * (delayedLeft - toneLeft);
        toneRight += 0.35f * (delayedRight - toneRight);
        // The left input enters the left line; each line feeds the other, so repeats alternate.
        lineLeft[at] = in.left[i] * 0.7f + in.right[i] * 0.3f + toneRight * feedback;
        lineRight[at] = toneLeft * feedback;
        out.left[i] += wet * delayedLeft;
        out.right[i] += wet * delayedRight;
        if (++at == delay) at = 0;
    }
}

void Reverb(const Stereo& in, Stereo& out, float wet, float size) {
    const int combLengths[] = {1557, 1617, 1491, 1422, 1277, 1356};
    const int allpassLengths[] = {225, 556, 441};
    for (int side = 0; side < 2; ++side) {
        const std::vector<float>& source = side == 0 ? in.left : in.right;
        std::vector<float>& target = side == 0 ? out.left : out.right;
        const int spread = side * 23;
        std::vector<std::vector<float>> combs, allpasses;
        for (int length : combLengths) combs.emplace_back(static_cast<std::size_t>(length * size) + spread, 0.0f);
        for (int length : allpassLengths) allpasses.emplace_back(length + spread, 0.0f);
        float damping[6] = {};
        std::size_t combAt[6] = {}, allpassAt[3] = {};
        for (std::size_t i = 0; i < source.size(); ++i) {
            const float input = source[i] * 0.15f;
            float sum = 0;
            for (int c = 0; c < 6; ++c) {
                float& cell = combs[c][combAt[c]];
                damping[c] = cell * 0.55f + damping[c] * 0.45f;
                sum += cell;
                cell = input + damping[c] * 0.84f;
                if (++combAt[c] == combs[c].size()) combAt[c] = 0;
            }
            for (int a = 0; a < 3; ++a) {
                float& cell = allpasses[a][allpassAt[a]];
                const float delayed = cell;
                cell = sum + delayed * 0.5f;
                sum = delayed - sum;
                if (++allpassAt[a] == allpasses[a].size()) allpassAt[a] = 0;
            }
            target[i] += wet * sum;
        }
    }
}

}  // namespace synth
}  // namespace assets
