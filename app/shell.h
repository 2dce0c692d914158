// app/shell.h — start-up, the main loop and the orderly shutdown of the demo.
#pragma once

#include <string>

#include "app/options.h"

// Exit codes of the program.
constexpr int kExitOk = 0;
constexpr int kExitSetupFailed = 1;    // no window, no GL, no asset root, bad option
constexpr int kExitUnknownGroup = 2;   // --no-ext or --emulate-ext names no extension group
constexpr int kExitGlErrors = 3;       // with --check-gl: the run went through, but GL reported errors
constexpr int kExitAudioFailed = 255;  // -1: no audio device, or the music cannot be played

// The music, played from the asset root.
constexpr const char* kMusicFile = "DANE\\Oblomar.mp3";

class Scene;

// "scene one" .. "scene four" for the demo's scenes, "no scene" otherwise.
const char* SceneName(const Scene* scene);

// Runs the whole demo as the options say and returns the exit code (app/main_loop.cpp).
int RunDemo(const Options& options, const char* programPath);

// Window, context, extensions, font and projection; false, with a message, when there is
// nothing to draw on. A display opened after a shutdown is shut down again by the next one.
bool OpenDisplay(const Options& options, bool headless);

// Gives the scenes their windows and hands them to the demo in list order.
void AddScenes();

// Opens the audio output and the music stream, and plays it when `play` is set; false, with a
// message (exit code -1), when either fails.
bool StartMusic(bool silent, bool play);

// Plays the opened music from `seconds` on (a run that starts later than 0 s).
void PlayMusicFrom(double seconds);

// Opens the display as a run would, prints the driver report of --gl-info and closes it again,
// without looking for the assets. Returns the exit code.
int ShowGLInfo(const Options& options);

// Stops every scene, frees the vertex-array-range block, stops the music, restores the display
// mode and releases the GL context. A second call does nothing until OpenDisplay opens a
// display again.
void Shutdown();

// Gives each scene its window on the timeline.
void SetSceneTimings();

// The viewport and the 45° perspective every run starts with; the model-view matrix is left
// selected and set to the identity.
void SetStartProjection();

// The folder holding TEKSTURY and DANE: `dataDir` when given, else the first of the folders
// AssetSearchFolders lists that holds them. Empty, with a reason in `error`, when none does.
std::string FindAssetRoot(const std::string& dataDir, const char* programPath, std::string& error);
