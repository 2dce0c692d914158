// platform/audio.h — the music player: seven calls, the way the demo has always used them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A stream handle; 0 means none.
using AudioStream = std::uint32_t;

// Opens the output. `device` -1 is the default device. With `silent` set no real device is
// opened (the dummy driver is used) and streams are checked but never played.
bool AudioInit(int device, int frequency, unsigned flags, bool silent = false);

// Opens and checks a music file (an asset name); 0 when it cannot be read or decoded.
AudioStream AudioStreamCreateFile(const char* path);

void AudioStart();
void AudioStreamPlay(AudioStream stream, bool flush, unsigned flags);
// Moves the playing stream to `seconds` from its start; false when it cannot.
bool AudioStreamSetPosition(AudioStream stream, double seconds);
void AudioStop();
// Holds the playing music where it is; AudioStart goes on from there.
void AudioPause();
// Where the music is, in seconds from its start; negative when no music is open.
double AudioMusicPosition();
void AudioStreamFree(AudioStream stream);
void AudioFree();

// Why the last call failed, for the shell's message.
const std::string& AudioLastError();

}  // namespace platform
