// tools/music.h — the demo's soundtrack, synthesised to follow the timeline and encoded to MP3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

constexpr int kMusicSampleRate = 44100;
constexpr int kMusicBitRate = 192;   // kbit/s, constant

// Interleaved stereo samples of the whole piece, sample 0 at demo time 0.
std::vector<std::int16_t> SynthesiseMusic();

// DANE/Oblomar.mp3: the piece at kMusicBitRate, constant bit rate, no tags.
bool WriteMusic(const std::string& root);

}  // namespace assets
