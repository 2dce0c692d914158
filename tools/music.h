// tools/music.h — the demo's soundtrack: an ambient pad, synthesised and encoded to MP3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

constexpr int kMusicSampleRate = 44100;
constexpr int kMusicSeconds = 200;

// Interleaved stereo samples of the whole piece.
std::vector<std::int16_t> SynthesiseMusic();

// DANE/Oblomar.mp3: the piece at 128 kbit/s, constant bit rate, no tags.
bool WriteMusic(const std::string& root);

}  // namespace assets
