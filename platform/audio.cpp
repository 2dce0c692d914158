// platform/audio.cpp — SDL2_mixer behind the seven calls.
#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/asset_path.h"
#include "platform/sanitizer_support.h"

namespace platform {
namespace {

bool audioOpen = false;
bool silentOutput = false;
Mix_Music* music = nullptr;
AudioStream nextHandle = 1;
AudioStream musicHandle = 0;
std::string lastError;

// Opens SDL's audio and the mixer on the driver the hints name, or on the system's own.
bool OpenOutput(int frequency) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        lastError = std::string("no audio device: ") + SDL_GetError();
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        lastError = std::string("no audio device: ") + Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

bool AudioInit(int /*device*/, int frequency, unsigned /*flags*/, bool silent) {
    if (audioOpen) return true;
    silentOutput = silent;
    if (silent) SDL_SetHintWithPriority("SDL_AUDIODRIVER", "dummy", SDL_HINT_OVERRIDE);
    if (silent) SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool opened = OpenOutput(frequency);
    if (!opened && silent) {
        // SDL's silent driver runs on a thread of its own, which the browser does not give: a
        // silent run opens the system's output there, and plays nothing on it.
        SDL_ResetHint("SDL_AUDIODRIVER");
        SDL_setenv("SDL_AUDIODRIVER", "", 1);
        opened = OpenOutput(frequency);
    }
    audioOpen = opened;
    return opened;
}

AudioStream AudioStreamCreateFile(const char* path) {
    if (!audioOpen) {
        lastError = "audio is not initialised";
        return 0;
    }
    const std::string resolved = ResolveAssetPath(path);
    if (resolved.empty()) {
        lastError = std::string("cannot open ") + path + " (no such file)";
        return 0;
    }
    Mix_Music* loaded = Mix_LoadMUS(resolved.c_str());
    if (!loaded) {
        lastError = std::string("cannot decode ") + path + " (" + Mix_GetError() + ")";
        return 0;
    }
    if (music) Mix_FreeMusic(music);
    music = loaded;
    musicHandle = nextHandle++;
    return musicHandle;
}

void AudioStart() {
    if (audioOpen) Mix_ResumeMusic();
}

void AudioStreamPlay(AudioStream stream, bool /*flush*/, unsigned /*flags*/) {
    if (!audioOpen || silentOutput || stream == 0 || stream != musicHandle || !music) return;
    Mix_PlayMusic(music, 0);
}

bool AudioStreamSetPosition(AudioStream stream, double seconds) {
    if (!audioOpen || stream == 0 || stream != musicHandle || !music) return false;
    if (silentOutput) return true;   // nothing plays, so every position is as good
    if (Mix_SetMusicPosition(seconds) != 0) {
        lastError = std::string("cannot move the music to ") + std::to_string(seconds) + " s (" + Mix_GetError() + ")";
        return false;
    }
    return true;
}

void AudioStop() {
    if (audioOpen) Mix_HaltMusic();
}

void AudioPause() {
    if (audioOpen) Mix_PauseMusic();
}

double AudioMusicPosition() {
    if (!audioOpen || !music) return -1.0;
    return Mix_GetMusicPosition(music);
}

void AudioStreamFree(AudioStream stream) {
    if (stream == 0 || stream != musicHandle || !music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
    musicHandle = 0;
}

void AudioFree() {
    KeepLoadedLibraries();   // sanitizer builds only: see platform/sanitizer_support.h
    if (!audioOpen) return;
    if (music) {
        Mix_FreeMusic(music);
        music = nullptr;
        musicHandle = 0;
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioOpen = false;
}

const std::string& AudioLastError() { return lastError; }

}  // namespace platform
