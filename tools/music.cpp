// tools/music.cpp — the soundtrack's arrangement, section by section along the timeline, and
// its encoding with LAME.
//
// Sections and their times all come from tools/music_cues.h. From the beat-in on, a grid of
// sixteenth notes at one tempo carries drums, bass and arpeggios; the hits that mark moments of
// the picture (the flickers, the scene changes, the second flash) sit at their exact times,
// and the grid's drums leave a little room around each so the hit stands alone.
#include "tools/music.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/master_bus.h"
#include "tools/music_cues.h"
#include "tools/music_parts.h"
#include "tools/noise.h"
#include "tools/output_file.h"

namespace assets {
namespace {

using namespace synth;
using namespace cues;

// Every hit of the piece, in time order.
std::vector<double> HitTimes() {
    std::vector<double> hits = {kCloudStart, kCaveStart, kSkyStart, kSecondFlash};
    hits.insert(hits.end(), std::begin(kFlickers), std::end(kFlickers));
    std::sort(hits.begin(), hits.end());
    return hits;
}

// Opacity of scene one's black overlay at demo time t: ramps in over a window's fade-in,
// holds, ramps out over its fade-out. Before the scene starts the screen is black too.
double BlackLevel(double t) {
    const double s = t - kSceneOneStart;
    if (s < 0) return 1.0;
    for (const FadeWindow& w : kBlackFades) {
        if (s < w.start || s > w.end) continue;
        if (w.fadeIn > 0 && s < w.start + w.fadeIn) return (s - w.start) / w.fadeIn;
        if (w.fadeOut > 0 && s > w.end - w.fadeOut) return (w.end - s) / w.fadeOut;
        return 1.0;
    }
    return 0.0;
}

// A cutoff that falls from `from` to `to` over [start, end], exponentially.
double Sweep(double t, double start, double end, double from, double to) {
    if (t <= start) return from;
    if (t >= end) return to;
    return from * std::pow(to / from, (t - start) / (end - start));
}

double DrumCutoff(double t) {
    if (t >= kCaveStart && t < kSkyStart) return 380.0;
    if (t >= kRedVeilStart) return Sweep(t, kRedVeilStart, kCreditsStart, 18000.0, 220.0);
    return 18000.0;
}

// The music bus drops its filter at each flicker and opens again over the flicker's length.
double MusicCutoff(double t) {
    double cutoff = 18000.0;
    for (double flicker : kFlickers)
        if (t >= flicker && t < flicker + 1.3) cutoff = std::min(cutoff, Sweep(t, flicker, flicker + 1.3, 320.0, 18000.0));
    if (t >= kRedVeilStart) cutoff = std::min(cutoff, Sweep(t, kRedVeilStart, kCreditsStart, 18000.0, 1600.0));
    return cutoff;
}

// A time-varying low-pass over a whole bus.
void FilterBus(Stereo& bus, double (*cutoffAt)(double)) {
    Filter left, right;
    for (std::size_t i = 0; i < bus.Frames(); ++i) {
        if (i % 32 == 0) {
            const double cutoff = cutoffAt(static_cast<double>(i) / kRate);
            left.Set(cutoff, 0.7);
            right.Set(cutoff, 0.7);
        }
        bus.left[i] = left.Process(bus.left[i]).low;
        bus.right[i] = right.Process(bus.right[i]).low;
    }
}

// The intro: a pad and a drone that swell whenever the black fades lift, a chime for each
// caption, and a sweep into the beat-in.
void RenderIntro(Stereo& music, Stereo& send) {
    Stereo pad(FrameAt(kBeatIn + 1.0));
    Voice voice = PadVoice(900.0);
    voice.attack = 1.5;
    voice.release = 1.0;
    voice.gain *= 2.5f;
    for (int note : {57, 60, 64, 71}) Note(pad, 0.0, kBeatIn - 0.3, NoteHz(note), voice);
    Voice drone;
    drone.wave = Wave::Sine;
    drone.attack = 3.0;
    drone.sustain = 1.0;
    drone.release = 1.0;
    drone.gain = 0.22f;
    Note(pad, 0.0, kBeatIn - 0.5, NoteHz(33), drone);
    // The swell follows the picture: quiet under black, full where it shows, smoothed.
    double level = 0.35;
    const double smoothing = 1.0 - std::exp(-1.0 / (0.25 * kRate));
    for (std::size_t i = 0; i < pad.Frames(); ++i) {
        const double target = 0.35 + 0.65 * (1.0 - BlackLevel(static_cast<double>(i) / kRate));
        level += (target - level) * smoothing;
        music.left[i] += pad.left[i] * static_cast<float>(level);
        music.right[i] += pad.right[i] * static_cast<float>(level);
    }
    const int chimes[2] = {81, 88};
    for (int c = 0; c < 2; ++c) Note(send, kSceneOneStart + kCaptionStarts[c], 0.05, NoteHz(chimes[c]), BellVoice(0.11f, 0.3f + 0.4f * c));
    Riser(music, kBeatIn - 1.8, kBeatIn, 0.25f, 0x5EEDu);
}

// 13.85–50: four-to-the-floor from the beat-in; the turn of the object brings in the rest
// piece by piece; a snare roll and a sweep lead into the cloud.
void RenderBuild(const Grid& grid, Stereo& drums, Stereo& music, Stereo& send) {
    Crash(drums, kBeatIn, 0.3f, 0xBEA7u);
    for (int s = grid.FirstStep(kBeatIn); grid.Time(s) < kCloudStart; ++s) {
        const double t = grid.Time(s);
        const int pos = s % 16, bar = s / 16;
        const double u = std::clamp((t - kTurnStart) / (kTurnEnd - kTurnStart), 0.0, 1.0);
        const bool turning = t >= kTurnStart;
        const bool fill = t >= kCloudStart - 2.0;
        const Chord& chord = BuildChord(bar);
        if (grid.DrumsAllowed(t)) {
            if (pos % 4 == 0) Kick(drums, t, 0.85f);
            if (turning && pos % 4 == 2) HiHat(drums, t, 0.13f, u > 0.7, 0.6f, 0x100u + s);
            if (turning && u > 0.3 && pos % 2 == 1) HiHat(drums, t, 0.06f, false, 0.4f, 0x200u + s);
            if (turning && u > 0.15 && !fill && (pos == 4 || pos == 12)) Snare(drums, t, 0.4f, 0x300u + s);
            if (fill) {
                const float rise = static_cast<float>((t - (kCloudStart - 2.0)) / 2.0);
                Snare(drums, t, 0.12f + 0.33f * rise, 0x400u + s);
            }
        }
        if (pos % 2 == 0) {
            const int note = chord.bass + (pos % 4 == 2 ? 12 : 0);
            Note(music, t, grid.step * 1.6, NoteHz(note), BassVoice(300.0 + 500.0 * u));
        }
        if (turning && pos == 0) {
            for (int note : chord.pad) Note(music, t, grid.bar, NoteHz(note), PadVoice(600.0 + 2400.0 * u));
        }
        if (u > 0.45) {
            const int note = chord.pad[(pos * 3) % 4] + 12;
            Note(send, t, grid.step * 0.6, NoteHz(note), ArpVoice(900.0 + 3000.0 * u, pos % 2 ? 0.35f : 0.65f));
        }
    }
    Riser(music, kCloudStart - 3.5, kCloudStart, 0.35f, 0x7153u);
}

// A hit: crash, kick and a bright chord stab, all at one instant.
void Hit(Stereo& drums, double t, const Chord& chord, float gain, std::uint32_t seed) {
    Crash(drums, t, 0.32f * gain, seed);
    Kick(drums, t, 0.95f * gain);
    for (int note : chord.pad) Note(drums, t, 0.22, NoteHz(note + 12), StabVoice(0.2f * gain));
    Note(drums, t, 0.4, NoteHz(chord.bass), BassVoice(1200.0));
}

// 50–87: a darker key over a half-time groove; a hit on every flicker.
void RenderCloud(const Grid& grid, Stereo& drums, Stereo& music, Stereo& send) {
    const int first = grid.FirstStep(kCloudStart);
    for (int s = first; grid.Time(s) < kCaveStart; ++s) {
        const double t = grid.Time(s);
        const int pos = s % 16, bar = (s - first) / 16;
        const Chord& chord = CloudChord(bar);
        const bool ending = t >= kCaveStart - 1.9;
        if (grid.DrumsAllowed(t) && !ending) {
            if (pos == 0 || pos == 10) Kick(drums, t, 0.85f);
            if (pos == 8) Snare(drums, t, 0.45f, 0x500u + s);
            HiHat(drums, t, pos % 2 == 0 ? 0.1f : 0.05f, pos == 14, pos % 4 == 0 ? 0.55f : 0.42f, 0x600u + s);
        }
        if (pos == 0 || pos == 3 || pos == 6 || pos == 8 || pos == 11 || pos == 14)
            Note(music, t, grid.step * 1.2, NoteHz(chord.bass + (pos == 6 || pos == 14 ? 12 : 0)), BassVoice(500.0));
        if ((s - first) % 32 == 0)
            for (int note : chord.pad) Note(music, t, 2 * grid.bar, NoteHz(note), PadVoice(1400.0, 0.5f));
        if (pos % 2 == 0 && bar % 2 == 1) {
            Note(send, t, grid.step * 0.5, NoteHz(chord.pad[(pos / 2) % 4] + 24), ArpVoice(2500.0, pos % 4 ? 0.3f : 0.7f));
        }
    }
    for (int f = 0; f < kFlickerCount; ++f) Hit(drums, kFlickers[f], CloudChord(f * 2 + 1), 1.0f, 0xF11Cu + f);
    Riser(music, kCaveStart - 2.5, kCaveStart, 0.3f, 0x8A7Eu);
}

// 87–112.3: a deep boom, low-passed slow drums, a sub bass, a murky pad and bubbles.
void RenderCave(const Grid& grid, Stereo& drums, Stereo& music, Stereo& send) {
    Kick(drums, kCaveStart, 1.0f, 28.0f);
    Random random(0xB0BB1Eu);
    const int first = grid.FirstStep(kCaveStart);
    for (int s = first; grid.Time(s) < kSkyStart; ++s) {
        const double t = grid.Time(s);
        const int pos = s % 16, bar = (s - first) / 16;
        const Chord& chord = CaveChord(bar / 2);
        if (grid.DrumsAllowed(t)) {
            if (pos == 0 || pos == 8) Kick(drums, t, 0.8f, 38.0f);
            if (pos == 12 && bar % 2 == 1) Snare(drums, t, 0.3f, 0x700u + s);
        }
        if ((s - first) % 32 == 0) {
            Voice sub;
            sub.wave = Wave::Sine;
            sub.attack = 0.4;
            sub.sustain = 0.9;
            sub.release = 0.8;
            sub.gain = 0.26f;
            Note(music, t, 2 * grid.bar - 0.3, NoteHz(chord.bass), sub);
            for (int note : chord.pad) Note(music, t, 2 * grid.bar, NoteHz(note), PadVoice(520.0, 0.8f));
        }
        if (random.Uniform(0.0f, 1.0f) < 0.5f) {
            const int note = chord.pad[random.Below(4)] + 24 + 12 * random.Below(2);
            Bubble(send, t, NoteHz(note), 0.16f, random.Uniform(0.15f, 0.85f));
        }
    }
    Riser(music, kSkyStart - 3.0, kSkyStart, 0.4f, 0x5C1Eu);
}

// 112.3–170: a bright, wide release with a lead line; the second flash gets its own hit and
// the sea brings the full kit.
void RenderSky(const Grid& grid, Stereo& drums, Stereo& music, Stereo& send) {
    Hit(drums, kSkyStart, SkyChord(0), 1.1f, 0x5A1u);
    Hit(drums, kSecondFlash, SkyChord(2), 1.1f, 0x5A2u);
    for (int note : SkyChord(0).pad) Note(music, kSkyStart, 1.2, NoteHz(note + 12), PadVoice(6000.0, 1.0f));
    Riser(music, kSecondFlash - 1.9, kSecondFlash, 0.3f, 0xF1A5u);
    const int first = grid.FirstStep(kSkyStart);
    // The lead: eighth notes through two bars, indices into the chord an octave up; -1 rests.
    const int melody[16] = {0, -1, 2, 1, -1, 3, 2, -1, 1, -1, 0, 2, 3, -1, 2, 1};
    for (int s = first; grid.Time(s) < kRedVeilStart + 4.0; ++s) {
        const double t = grid.Time(s);
        const int pos = s % 16, bar = (s - first) / 16;
        const Chord& chord = SkyChord(bar);
        const bool sea = t >= kSecondFlash;
        const bool playing = t < kRedVeilStart;
        const float fade = playing ? 1.0f : static_cast<float>(1.0 - (t - kRedVeilStart) / 4.0);
        if (grid.DrumsAllowed(t)) {
            if (pos % 4 == 0) Kick(drums, t, 0.85f * fade);
            if (pos % 4 == 2) HiHat(drums, t, 0.12f * fade, sea, 0.62f, 0x800u + s);
            if (sea && pos % 2 == 1) HiHat(drums, t, 0.05f * fade, false, 0.38f, 0x900u + s);
            if ((sea || bar >= 4) && (pos == 4 || pos == 12)) Snare(drums, t, 0.42f * fade, 0xA00u + s);
        }
        if (!playing) continue;
        if (pos % 4 == 2 || (sea && pos % 4 == 3))
            Note(music, t, grid.step * 1.4, NoteHz(chord.bass + 12 * (pos % 4 == 3)), BassVoice(700.0));
        if (pos == 0) for (int note : chord.pad) Note(music, t, grid.bar, NoteHz(note), PadVoice(4200.0, 1.0f));
        const int step = ((s - first) % 32) / 2;
        if (pos % 2 == 0 && bar >= 4 && melody[step] >= 0)
            Note(send, t, grid.step * 1.5, NoteHz(chord.pad[melody[step]] + 12), LeadVoice());
        if (sea && pos % 2 == 1) Note(send, t, grid.step * 0.5, NoteHz(chord.pad[(pos / 2) % 4] + 24), ArpVoice(3500.0, 0.5f));
    }
}

// Under the red veil the kit sinks away; from the credits on, a calm pad and slow bells.
void RenderClose(const Grid& grid, Stereo& music, Stereo& send) {
    Random random(0xC1053u);
    const int first = grid.FirstStep(kCreditsStart);
    for (int s = first; grid.Time(s) < kFadeOutEnd; s += 2) {
        const double t = grid.Time(s);
        const int bar = (s - first) / 16;
        const Chord& chord = CloseChord(bar / 2);
        if ((s - first) % 32 == 0) {
            Voice pad = PadVoice(1500.0, 1.0f);
            pad.attack = 1.2;
            pad.release = 2.0;
            for (int note : chord.pad) Note(music, t, 2 * grid.bar, NoteHz(note), pad);
            Voice low;
            low.wave = Wave::Sine;
            low.attack = 1.0;
            low.sustain = 1.0;
            low.release = 1.5;
            low.gain = 0.25f;
            Note(music, t, 2 * grid.bar, NoteHz(chord.bass), low);
        }
        if (random.Uniform(0.0f, 1.0f) < 0.28f)
            Note(send, t, 0.05, NoteHz(chord.pad[random.Below(4)] + 24), BellVoice(0.06f, random.Uniform(0.2f, 0.8f)));
    }
}

Stereo SynthesiseMix() {
    const std::size_t frames = FrameAt(kMusicSeconds);
    Stereo drums(frames), music(frames), send(frames);
    const Grid grid(kBeatIn, kBeatSeconds, HitTimes());
    RenderIntro(music, send);
    RenderBuild(grid, drums, music, send);
    RenderCloud(grid, drums, music, send);
    RenderCave(grid, drums, music, send);
    RenderSky(grid, drums, music, send);
    RenderClose(grid, music, send);

    for (std::size_t i = 0; i < frames; ++i) {
        music.left[i] += send.left[i];
        music.right[i] += send.right[i];
    }
    PingPongDelay(send, music, 3 * kBeatSeconds / 4, 0.42f, 0.45f);
    FilterBus(drums, DrumCutoff);
    FilterBus(music, MusicCutoff);
    Reverb(music, drums, 0.35f, 1.0f);   // the drum bus now also carries the music's room

    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double fade = t < kFadeOutStart ? 1.0 : t >= kFadeOutEnd ? 0.0 : 0.5 + 0.5 * std::cos((t - kFadeOutStart) / (kFadeOutEnd - kFadeOutStart) * 3.141592653589793);
        drums.left[i] = (drums.left[i] + music.left[i]) * static_cast<float>(fade);
        drums.right[i] = (drums.right[i] + music.right[i]) * static_cast<float>(fade);
    }
    return drums;
}

std::vector<std::int16_t> ToPcm(const Stereo& mix) {
    std::vector<std::int16_t> pcm(mix.Frames() * 2);
    auto sample = [](float value) {
        return static_cast<std::int16_t>(std::lround(std::clamp(value * 32767.0f, -32768.0f, 32767.0f)));
    };
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        pcm[2 * i] = sample(mix.left[i]);
        pcm[2 * i + 1] = sample(mix.right[i]);
    }
    return pcm;
}

// The piece as LAME encodes it; empty when the encoder fails.
std::vector<std::uint8_t> EncodeMp3(const std::vector<std::int16_t>& pcm) {
    lame_t encoder = lame_init();
    if (!encoder) return {};
    lame_set_in_samplerate(encoder, kMusicSampleRate);
    lame_set_out_samplerate(encoder, kMusicSampleRate);
    lame_set_num_channels(encoder, 2);
    lame_set_mode(encoder, JOINT_STEREO);
    lame_set_VBR(encoder, vbr_off);
    lame_set_brate(encoder, kMusicBitRate);
    lame_set_quality(encoder, 5);
    lame_set_bWriteVbrTag(encoder, 0);
    lame_set_write_id3tag_automatic(encoder, 0);
    std::vector<std::uint8_t> mp3;
    bool ok = lame_init_params(encoder) >= 0;
    if (ok) {
        // Decoders that know nothing of the file play the encoder's and their own delay first;
        // starting the input that much later puts every sound at its time in the decoded output.
        const int frames = static_cast<int>(pcm.size() / 2);
        const int skip = std::min(frames, lame_get_encoder_delay(encoder) + 529);
        constexpr int kChunk = 8192;
        std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
        for (int at = skip; at < frames && ok; at += kChunk) {
            const int count = std::min(kChunk, frames - at);
            const int bytes = lame_encode_buffer_interleaved(encoder, const_cast<short*>(pcm.data()) + 2 * static_cast<std::size_t>(at),
                                                             count, buffer.data(), static_cast<int>(buffer.size()));
            ok = bytes >= 0;
            if (ok) mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
        }
        const int bytes = ok ? lame_encode_flush(encoder, buffer.data(), static_cast<int>(buffer.size())) : -1;
        ok = bytes >= 0;
        if (ok) mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    }
    lame_close(encoder);
    if (!ok) mp3.clear();
    return mp3;
}

// The loudness of the MP3 as a player hears it: decoded (by LAME's own decoder) and measured.
Loudness MeasureMp3(std::vector<std::uint8_t> mp3) {
    hip_t decoder = hip_decode_init();
    if (!decoder) return {};
    std::vector<float> samples;
    std::vector<short> left(1152 * 4), right(1152 * 4);
    constexpr std::size_t kChunk = 4096;
    for (std::size_t at = 0; at < mp3.size(); at += kChunk) {
        std::size_t length = std::min(kChunk, mp3.size() - at);
        // hip_decode1 gives at most one frame a call; calls with no new bytes drain the rest.
        for (int got; (got = hip_decode1(decoder, mp3.data() + at, length, left.data(), right.data())) > 0; length = 0)
            for (int i = 0; i < got; ++i) {
                samples.push_back(left[static_cast<std::size_t>(i)] / 32768.0f);
                samples.push_back(right[static_cast<std::size_t>(i)] / 32768.0f);
            }
    }
    hip_decode_exit(decoder);
    return MeasureLoudness(samples.data(), samples.size() / 2, kMusicSampleRate);
}

}  // namespace

bool WriteMusic(const std::string& root) {
    const Stereo mix = SynthesiseMix();
    // The encoder rebuilds the waveform and adds peaks of its own, most of all on the crashes,
    // and takes a little loudness away. Both are measured on the decoded file: the limiter's
    // ceiling comes down by the overshoot and the target up by the loss until the file holds.
    constexpr double kFileLoudness = -14.0;   // LUFS
    constexpr double kFilePeakMark = -1.2;    // dBTP; other decoders read a tenth or two either way
    MasterSettings settings;
    settings.targetLoudness = kFileLoudness;
    std::vector<std::uint8_t> mp3;
    Loudness heard;
    auto holds = [&] {
        return heard.ok && heard.truePeak <= kFilePeakMark && std::fabs(heard.integrated - kFileLoudness) <= 0.3;
    };
    for (int attempt = 0; attempt < 8 && !holds(); ++attempt) {
        if (heard.ok) {
            if (heard.truePeak > kFilePeakMark) settings.ceiling -= heard.truePeak - kFilePeakMark + 0.1;
            settings.targetLoudness += kFileLoudness - heard.integrated;
        }
        Stereo mastered = mix;
        const Loudness made = MasterMix(mastered, settings);
        mp3 = EncodeMp3(ToPcm(mastered));
        if (!made.ok || mp3.empty()) {
            std::fprintf(stderr, "assets: cannot master or encode the music\n");
            return false;
        }
        heard = MeasureMp3(mp3);
    }
    if (!holds()) {
        std::fprintf(stderr, "assets: the music comes to %.2f LUFS with a true peak of %.2f dBTP\n", heard.integrated,
                     heard.truePeak);
        return false;
    }
    if (std::getenv("UNDERTOW_MUSIC_FIGURES"))
        std::fprintf(stderr, "assets: music %.2f LUFS, range %.2f LU, true peak %.2f dBTP (limiter at %.2f dBTP)\n",
                     heard.integrated, heard.range, heard.truePeak, settings.ceiling);
    return WriteAssetFile(root, "DANE/Oblomar.mp3", mp3);
}

}  // namespace assets
