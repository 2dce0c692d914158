// tools/master_bus.cpp — compression, loudness gain and true-peak limiting of the whole mix.
//
// The piece is rendered in full before it is mastered, so the limiter can look ahead as far as
// it likes and the gain can be set from a measurement of the finished result.
#include "tools/master_bus.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace assets {
namespace {

using synth::kRate;
using synth::Stereo;

constexpr double kPi = 3.141592653589793;

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

std::vector<float> Interleave(const Stereo& mix) {
    std::vector<float> samples(mix.Frames() * 2);
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        samples[2 * i] = mix.left[i];
        samples[2 * i + 1] = mix.right[i];
    }
    return samples;
}

Loudness Measure(const Stereo& mix) {
    const std::vector<float> samples = Interleave(mix);
    return MeasureLoudness(samples.data(), mix.Frames(), static_cast<unsigned long>(kRate));
}

void Scale(Stereo& mix, double gain) {
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] *= static_cast<float>(gain);
        mix.right[i] *= static_cast<float>(gain);
    }
}

// A stereo-linked compressor on a smoothed mean-square level: fast to catch the drums, slow to
// let go, with a soft knee 6 dB wide, so it only leans on the loudest passages.
void Compress(Stereo& mix, double thresholdDb, double ratio) {
    const double attack = 1.0 - std::exp(-1.0 / (0.010 * kRate));
    const double release = 1.0 - std::exp(-1.0 / (0.250 * kRate));
    constexpr double kKnee = 6.0;
    double power = 0.0;
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        const double l = mix.left[i], r = mix.right[i];
        const double now = 0.5 * (l * l + r * r);
        power += (now - power) * (now > power ? attack : release);
        const double level = 10.0 * std::log10(power + 1e-12);
        const double over = level - thresholdDb;
        double reduction = 0.0;
        if (over >= kKnee / 2)
            reduction = over * (1.0 - 1.0 / ratio);
        else if (over > -kKnee / 2)
            reduction = (1.0 - 1.0 / ratio) * (over + kKnee / 2) * (over + kKnee / 2) / (2 * kKnee);
        const float gain = static_cast<float>(DbToGain(-reduction));
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
}

// The largest magnitude of one channel around each sample: the sample itself and three points
// between it and the next, rebuilt by a windowed-sinc interpolation four times oversampled.
std::vector<float> TruePeaks(const std::vector<float>& channel) {
    constexpr int kTaps = 8;   // on each side
    double kernel[3][2 * kTaps];
    for (int phase = 1; phase <= 3; ++phase)
        for (int k = 0; k < 2 * kTaps; ++k) {
            const double x = (k - kTaps + 1) - phase / 4.0;   // distance of tap k from the point
            const double sinc = std::sin(kPi * x) / (kPi * x);
            const double window = 0.5 + 0.5 * std::cos(kPi * x / (kTaps + 0.5));
            kernel[phase - 1][k] = sinc * window;
        }
    const std::size_t n = channel.size();
    std::vector<float> peaks(n);
    for (std::size_t i = 0; i < n; ++i) {
        float peak = std::fabs(channel[i]);
        for (int phase = 0; phase < 3; ++phase) {
            double sum = 0.0;
            for (int k = 0; k < 2 * kTaps; ++k) {
                const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(i) + k - kTaps + 1;
                if (at >= 0 && at < static_cast<std::ptrdiff_t>(n)) sum += kernel[phase][k] * channel[static_cast<std::size_t>(at)];
            }
            peak = std::max(peak, static_cast<float>(std::fabs(sum)));
        }
        peaks[i] = peak;
    }
    return peaks;
}

// Brings every true peak under `ceiling` (linear) with a gain that starts to fall `lookAhead`
// frames before the peak, in a straight line, and recovers exponentially after it.
void Limit(Stereo& mix, double ceiling) {
    const std::size_t n = mix.Frames();
    const std::size_t lookAhead = static_cast<std::size_t>(0.005 * kRate);
    const std::vector<float> left = TruePeaks(mix.left), right = TruePeaks(mix.right);
    std::vector<double> needed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double peak = std::max(left[i], right[i]);
        needed[i] = peak > ceiling ? ceiling / peak : 1.0;
    }
    // The least gain needed in the frames from i to i + lookAhead - 1, then the release.
    std::vector<double> hold(n);
    std::deque<std::size_t> window;   // frames whose needed gains rise from front to back
    const double release = 1.0 - std::exp(-1.0 / (0.080 * kRate));
    double released = 1.0;
    for (std::size_t i = 0; i + 1 < n + lookAhead; ++i) {
        if (i < n) {
            while (!window.empty() && needed[window.back()] >= needed[i]) window.pop_back();
            window.push_back(i);
        }
        if (i + 1 < lookAhead) continue;
        const std::size_t at = i + 1 - lookAhead;
        while (window.front() < at) window.pop_front();
        released = std::min(needed[window.front()], released + (1.0 - released) * release);
        hold[at] = released;
    }
    // Averaging the held gain over the look-ahead makes the fall a ramp; every frame it covers
    // holds a gain at most the one the peak needs, so the peak is still covered.
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += hold[i];
        if (i >= lookAhead) sum -= hold[i - lookAhead];
        const double gain = sum / static_cast<double>(std::min(i + 1, lookAhead));
        mix.left[i] *= static_cast<float>(gain);
        mix.right[i] *= static_cast<float>(gain);
    }
}

}  // namespace

Loudness MasterMix(Stereo& mix, const MasterSettings& settings) {
    Loudness figures = Measure(mix);
    if (!figures.ok) return figures;
    Scale(mix, DbToGain(settings.targetLoudness - figures.integrated));
    Compress(mix, settings.threshold, settings.ratio);
    // Limiting takes a little loudness away; two rounds of measuring and making it up land on
    // the target within a few hundredths of a decibel.
    const Stereo compressed = mix;
    double gainDb = settings.targetLoudness - Measure(compressed).integrated;
    for (int round = 0; round < 3; ++round) {
        mix = compressed;
        Scale(mix, DbToGain(gainDb));
        Limit(mix, DbToGain(settings.ceiling));
        figures = Measure(mix);
        if (!figures.ok) return figures;
        gainDb += settings.targetLoudness - figures.integrated;
    }
    return figures;
}

}  // namespace assets
