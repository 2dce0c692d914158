// tools/music.cpp — a slowly changing chord pad with a soft bass, sparse bell tones and a
// small reverb; then LAME turns it into an MP3.
//
// Everything is computed from fixed numbers and our own random generator, and LAME is
// deterministic, so the file has the same bytes on every run.
#include "tools/music.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "tools/noise.h"
#include "tools/output_file.h"
#include "tools/vec.h"

namespace assets {
namespace {

constexpr double kRate = kMusicSampleRate;
constexpr int kFrames = kMusicSampleRate * kMusicSeconds;
constexpr double kChordSeconds = 12.5;     // 16 chords over the piece
constexpr double kCrossfade = 5.0;         // chords melt into each other over this long
constexpr int kTableSize = 4096;

struct Chord {
    int bass;                  // MIDI note
    std::array<int, 5> pad;    // MIDI notes
};

// D major, drifting: Dmaj9, Bm11, Gmaj9, Asus2 — then voicings that open upwards.
const Chord kChords[] = {
    {38, {50, 57, 61, 64, 66}}, {35, {47, 54, 57, 61, 64}}, {31, {43, 50, 54, 57, 59}}, {33, {45, 52, 57, 59, 64}},
    {38, {50, 57, 62, 64, 69}}, {35, {47, 54, 59, 62, 66}}, {31, {43, 54, 57, 59, 62}}, {33, {45, 52, 59, 61, 64}},
    {38, {50, 57, 61, 66, 69}}, {40, {52, 55, 59, 62, 66}}, {31, {43, 50, 57, 59, 66}}, {33, {45, 57, 59, 64, 68}},
    {38, {50, 54, 57, 61, 64}}, {35, {47, 54, 57, 62, 66}}, {31, {43, 50, 54, 59, 62}}, {38, {50, 57, 62, 66, 69}},
};
constexpr int kChordCount = sizeof kChords / sizeof kChords[0];

double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// A mellow saw: harmonics falling off faster than a plain saw's.
std::vector<float> PadWave() {
    std::vector<float> table(kTableSize + 1);
    for (int i = 0; i <= kTableSize; ++i) {
        double sum = 0;
        for (int h = 1; h <= 10; ++h) sum += std::sin(2 * M_PI * h * i / kTableSize) / std::pow(h, 1.6);
        table[i] = static_cast<float>(sum * 0.6);
    }
    return table;
}

// A phase-accumulator oscillator reading a table with linear interpolation.
struct Oscillator {
    std::uint32_t phase = 0;
    std::uint32_t step = 0;
    void Tune(double hz) { step = static_cast<std::uint32_t>(hz / kRate * 4294967296.0); }
    float Next(const std::vector<float>& table) {
        const std::uint32_t index = phase >> 20;                       // 12 bits of table index
        const float fraction = (phase & 0xFFFFF) * (1.0f / 1048576.0f);
        phase += step;
        return table[index] + (table[index + 1] - table[index]) * fraction;
    }
};

// Level of chord k at time t: rises over the crossfade before its slot, falls over the
// crossfade after, with equal-power curves so the sum stays even.
float ChordLevel(int k, double t) {
    const double start = k * kChordSeconds - kCrossfade / 2, end = (k + 1) * kChordSeconds + kCrossfade / 2;
    if (t <= start || t >= end) return 0.0f;
    if (k > 0 && t < start + kCrossfade) return static_cast<float>(std::sin((t - start) / kCrossfade * M_PI / 2));
    if (k < kChordCount - 1 && t > end - kCrossfade) return static_cast<float>(std::cos((t - (end - kCrossfade)) / kCrossfade * M_PI / 2));
    return 1.0f;
}

// The pad, the bass and the bells, dry, into left and right.
void RenderVoices(std::vector<float>& left, std::vector<float>& right) {
    const std::vector<float> wave = PadWave();
    std::vector<float> sine(kTableSize + 1);
    for (int i = 0; i <= kTableSize; ++i) sine[i] = static_cast<float>(std::sin(2 * M_PI * i / kTableSize));

    for (int k = 0; k < kChordCount; ++k) {
        const int first = std::max(0, static_cast<int>((k * kChordSeconds - kCrossfade / 2) * kRate));
        const int last = std::min(kFrames, static_cast<int>(((k + 1) * kChordSeconds + kCrossfade / 2) * kRate) + 1);
        // Two voices a few cents apart per note, one to each side, give the pad its width.
        std::array<Oscillator, 10> voices;
        for (int n = 0; n < 5; ++n) {
            voices[2 * n].Tune(NoteHz(kChords[k].pad[n] - 0.06));
            voices[2 * n + 1].Tune(NoteHz(kChords[k].pad[n] + 0.06));
            voices[2 * n].phase = static_cast<std::uint32_t>(n * 0x2F000000u);
            voices[2 * n + 1].phase = static_cast<std::uint32_t>(n * 0x51000000u);
        }
        Oscillator bass;
        bass.Tune(NoteHz(kChords[k].bass));
        // Levels change slowly, so they are worked out once per block of samples.
        constexpr int kBlock = 128;
        for (int blockStart = first; blockStart < last; blockStart += kBlock) {
            const double t = blockStart / kRate;
            const float level = ChordLevel(k, t);
            std::array<float, 5> swell;
            for (int n = 0; n < 5; ++n)   // each note breathes at its own slow rate
                swell[n] = 0.11f * level * (0.75f + 0.25f * static_cast<float>(std::sin(t * (0.11 + 0.037 * n) + n)));
            const float bassLevel = 0.2f * level;
            const int blockEnd = std::min(last, blockStart + kBlock);
            for (int i = blockStart; i < blockEnd; ++i) {
                float l = 0, r = 0;
                for (int n = 0; n < 5; ++n) {
                    l += voices[2 * n].Next(wave) * swell[n];
                    r += voices[2 * n + 1].Next(wave) * swell[n];
                }
                const float low = bass.Next(sine) * bassLevel;
                left[i] += l + low;
                right[i] += r + low;
            }
        }
    }

    // Bells: now and then a chord tone two octaves up, struck softly and left to ring.
    Random random(0xBE11u);
    for (double t = 6.0; t < kMusicSeconds - 8; t += random.Uniform(2.5f, 5.5f)) {
        const int k = std::min(kChordCount - 1, static_cast<int>(t / kChordSeconds));
        const int note = kChords[k].pad[random.Below(5)] + 24;
        const float pan = random.Uniform(0.2f, 0.8f);
        const float strength = random.Uniform(0.025f, 0.05f);
        Oscillator partial, upper;
        partial.Tune(NoteHz(note));
        upper.Tune(NoteHz(note) * 2.76);
        const int start = static_cast<int>(t * kRate);
        const int length = static_cast<int>(5.0 * kRate);
        // Exponential decays as per-sample factors; a 5 ms attack avoids a click.
        const float fundamentalDecay = static_cast<float>(std::exp(-0.9 / kRate));
        const float upperDecay = static_cast<float>(std::exp(-3.0 / kRate));
        float fundamental = strength, overtone = 0.3f * strength;
        for (int i = 0; i < length && start + i < kFrames; ++i) {
            const float attack = std::min(1.0f, static_cast<float>(i) * (200.0f / static_cast<float>(kRate)));
            const float value = attack * (fundamental * partial.Next(sine) + overtone * upper.Next(sine));
            fundamental *= fundamentalDecay;
            overtone *= upperDecay;
            left[start + i] += value * (1 - pan);
            right[start + i] += value * pan;
        }
    }
}

// A small room: parallel damped combs and two allpasses per side (Schroeder's design), with
// slightly different lengths left and right for width.
void AddReverb(std::vector<float>& samples, int spread, float wet) {
    const int combLengths[] = {1557, 1617, 1491, 1422};
    const int allpassLengths[] = {225, 556};
    std::vector<std::vector<float>> combs, allpasses;
    std::vector<float> damping(4, 0.0f);
    for (int length : combLengths) combs.emplace_back(length + spread, 0.0f);
    for (int length : allpassLengths) allpasses.emplace_back(length + spread, 0.0f);
    std::vector<std::size_t> combAt(4, 0), allpassAt(2, 0);
    for (float& sample : samples) {
        const float input = sample * 0.25f;
        float out = 0;
        for (int c = 0; c < 4; ++c) {
            float& cell = combs[c][combAt[c]];
            damping[c] = cell * 0.6f + damping[c] * 0.4f;
            out += cell;
            cell = input + damping[c] * 0.86f;
            if (++combAt[c] == combs[c].size()) combAt[c] = 0;
        }
        for (int a = 0; a < 2; ++a) {
            float& cell = allpasses[a][allpassAt[a]];
            const float delayed = cell;
            cell = out + delayed * 0.5f;
            out = delayed - out;
            if (++allpassAt[a] == allpasses[a].size()) allpassAt[a] = 0;
        }
        sample = sample * (1 - wet) + out * wet;
    }
}

}  // namespace

std::vector<std::int16_t> SynthesiseMusic() {
    std::vector<float> left(kFrames, 0.0f), right(kFrames, 0.0f);
    RenderVoices(left, right);
    AddReverb(left, 0, 0.35f);
    AddReverb(right, 23, 0.35f);
    // Fade in and out, then scale to a quiet peak.
    float peak = 0;
    for (int i = 0; i < kFrames; ++i) {
        const float t = static_cast<float>(i / kRate);
        const float fade = SmoothStep(0.0f, 4.0f, t) * (1.0f - SmoothStep(kMusicSeconds - 7.0f, kMusicSeconds - 0.2f, t));
        left[i] *= fade;
        right[i] *= fade;
        peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
    }
    const float gain = peak > 0 ? 0.42f * 32767.0f / peak : 0.0f;
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(kFrames) * 2);
    for (int i = 0; i < kFrames; ++i) {
        pcm[2 * static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(left[i] * gain));
        pcm[2 * static_cast<std::size_t>(i) + 1] = static_cast<std::int16_t>(std::lround(right[i] * gain));
    }
    return pcm;
}

bool WriteMusic(const std::string& root) {
    std::vector<std::int16_t> pcm = SynthesiseMusic();
    lame_t encoder = lame_init();
    if (!encoder) {
        std::fprintf(stderr, "assets: cannot start the MP3 encoder\n");
        return false;
    }
    lame_set_in_samplerate(encoder, kMusicSampleRate);
    lame_set_out_samplerate(encoder, kMusicSampleRate);
    lame_set_num_channels(encoder, 2);
    lame_set_mode(encoder, JOINT_STEREO);
    lame_set_VBR(encoder, vbr_off);
    lame_set_brate(encoder, 128);
    lame_set_quality(encoder, 7);   // fast; a soft pad needs no finer search
    lame_set_bWriteVbrTag(encoder, 0);
    lame_set_write_id3tag_automatic(encoder, 0);
    std::vector<std::uint8_t> mp3;
    bool ok = lame_init_params(encoder) >= 0;
    if (ok) {
        constexpr int kChunk = 8192;
        std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
        const int frames = static_cast<int>(pcm.size() / 2);
        for (int at = 0; at < frames && ok; at += kChunk) {
            const int count = std::min(kChunk, frames - at);
            const int bytes = lame_encode_buffer_interleaved(encoder, pcm.data() + 2 * static_cast<std::size_t>(at), count,
                                                             buffer.data(), static_cast<int>(buffer.size()));
            ok = bytes >= 0;
            if (ok) mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
        }
        const int bytes = ok ? lame_encode_flush(encoder, buffer.data(), static_cast<int>(buffer.size())) : -1;
        ok = bytes >= 0;
        if (ok) mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    }
    lame_close(encoder);
    if (!ok) {
        std::fprintf(stderr, "assets: the MP3 encoder failed\n");
        return false;
    }
    return WriteAssetFile(root, "DANE/Oblomar.mp3", mp3);
}

}  // namespace assets
