// tools/music.h — the demo's soundtrack, synthesised to follow the timeline and encoded to MP3.
#pragma once

#include <string>

namespace assets {

constexpr int kMusicSampleRate = 44100;
constexpr int kMusicBitRate = 192;   // kbit/s, constant

// DANE/Oblomar.mp3: the piece, sample 0 at demo time 0, mastered to -14 LUFS with its true peak
// at most -1.2 dBTP as decoded, at kMusicBitRate, constant bit rate, no tags.
bool WriteMusic(const std::string& root);

}  // namespace assets
