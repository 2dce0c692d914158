// platform/web/page_calls.cpp — what the page's scripts call: messages into the run's queue, as
// the keys make them, and what the run and its music are doing. The build exports these names.
#include <emscripten.h>

#include "platform/audio.h"
#include "platform/run_state.h"
#include "platform/window.h"

extern "C" {

// Space's message: pause, or play on.
EMSCRIPTEN_KEEPALIVE void undertow_pause_or_play() { platform::QueueWindowMessage(platform::WindowMessage::Pause); }

// A seek to `seconds` of the demo, through the same rewind and catch-up as the seek keys.
EMSCRIPTEN_KEEPALIVE void undertow_seek_to(double seconds) {
    platform::MessageDetail detail;
    detail.seconds = seconds;
    platform::QueueWindowMessage(platform::WindowMessage::SeekTo, detail);
}

// The run's phase, as the numbers of platform::RunPhase.
EMSCRIPTEN_KEEPALIVE int undertow_phase() { return static_cast<int>(platform::CurrentRunPhase()); }

// The demo time of the picture shown.
EMSCRIPTEN_KEEPALIVE double undertow_seconds() { return platform::CurrentRunSeconds(); }

// Where the music is, in seconds; negative when none is open.
EMSCRIPTEN_KEEPALIVE double undertow_music_seconds() { return platform::AudioMusicPosition(); }

}  // extern "C"
