// tools/loudness.h — loudness of a stereo signal as broadcast and streaming measure it (EBU R128,
// through libebur128): integrated loudness, loudness range and true peak.
#pragma once

#include <cstddef>

namespace assets {

struct Loudness {
    bool ok = false;              // false when the measurement could not be made
    double integrated = -70.0;    // LUFS
    double range = 0.0;           // LU
    double truePeak = -100.0;     // dBTP, the higher channel's
};

// `interleaved` holds `frames` stereo frames (left, right) at `rate` samples a second, full
// scale at ±1.
Loudness MeasureLoudness(const float* interleaved, std::size_t frames, unsigned long rate);

}  // namespace assets
