// app/options.h — the command line. With no arguments the demo runs as it always has.
#pragma once

#include <string>

struct Options {
    bool windowed = false;
    bool stats = false;
    std::string dataDir;      // empty: current directory, else the executable's directory
    int detail = -1;          // -1: the compiled-in level
    std::string captureDir;   // non-empty: a video file to record into, or a folder for PNG frames
    double startSeconds = 0;  // demo time at which showing (and recording) begins
    bool benchmark = false;
    std::string jsonFile;     // benchmark figures as JSON
    bool passTimes = false;   // benchmark: time each drawing pass, with a glFinish after each
    int fps = 60;             // steps per second of the virtual clock
    long frames = 0;          // stop after this many frames; 0: the whole timeline
    bool help = false;
    bool version = false;
    bool checkGl = false;     // stop on nothing, but report GL errors and exit non-zero
    bool exclusive = false;   // full screen by switching the display mode to 640 x 480
    int windowWidth = 0;      // --size; 0: 640 x 480
    int windowHeight = 0;
    int scale = 1;            // internal picture: scale x 640 by scale x 480
    int msaa = 0;             // samples per pixel; 0: no multisampling
    int crf = -1;             // recording quality; -1: the default (18)
    bool lossless = false;    // record without loss
    bool vsync = true;        // live playback waits for the display's refresh
    int maxFps = 60;          // live playback draws at most this many frames a second; 0: no limit
    bool loop = false;        // start again from 0 when the timeline ends
    bool paused = false;      // a live run holds its first shown frame until Space
    bool glInfo = false;      // print the driver report and exit
    bool gles = false;        // draw through our layer over an OpenGL ES 3.0 context
    unsigned disabledGroups = 0;   // extension groups switched off before detection (group bits)
    unsigned emulatedGroups = 0;   // groups our layers give where the driver has none
    bool unknownGroup = false;     // parsing stopped at an unknown group name (exit code 2)

    bool UsesVirtualClock() const { return benchmark || !captureDir.empty(); }
};

// "WxH" with both sides from 1 to 16384.
bool ParseWindowSize(const char* text, int& width, int& height);

// Parses argv; false with a message in `error` when an argument is wrong or two contradict.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

// The --help text, made from the option table.
const char* UsageText();
