// tools/loudness.cpp — EBU R128 figures through libebur128.
#include "tools/loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace assets {

Loudness MeasureLoudness(const float* interleaved, std::size_t frames, unsigned long rate) {
    Loudness result;
    ebur128_state* state = ebur128_init(2, rate, EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK);
    if (!state) return result;
    constexpr std::size_t kChunk = 1 << 16;
    bool ok = true;
    for (std::size_t at = 0; at < frames && ok; at += kChunk)
        ok = ebur128_add_frames_float(state, interleaved + 2 * at, std::min(kChunk, frames - at)) == EBUR128_SUCCESS;
    double peaks[2] = {0, 0};
    ok = ok && ebur128_loudness_global(state, &result.integrated) == EBUR128_SUCCESS &&
         ebur128_loudness_range(state, &result.range) == EBUR128_SUCCESS &&
         ebur128_true_peak(state, 0, &peaks[0]) == EBUR128_SUCCESS && ebur128_true_peak(state, 1, &peaks[1]) == EBUR128_SUCCESS;
    ebur128_destroy(&state);
    const double peak = std::max(peaks[0], peaks[1]);
    result.truePeak = peak > 0 ? 20.0 * std::log10(peak) : -100.0;
    result.ok = ok;
    return result;
}

}  // namespace assets
