// tools/master_bus.h — the soundtrack's master bus: gentle compression, then a gain that brings
// the piece to its target loudness, then a look-ahead limiter that keeps the true peak (the
// peak between samples, as a decoder rebuilds it) under a ceiling.
#pragma once

#include "tools/loudness.h"
#include "tools/synth.h"

namespace assets {

struct MasterSettings {
    double targetLoudness = -14.0;   // LUFS, integrated
    double ceiling = -1.5;           // dBTP the limiter holds the true peak under
    double threshold = -12.0;        // dBFS of the compressor's level detector, after the target gain
    double ratio = 1.5;
};

// Masters `mix` in place and returns the figures of the result.
Loudness MasterMix(synth::Stereo& mix, const MasterSettings& settings);

}  // namespace assets
