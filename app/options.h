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
    int fps = 60;             // steps per second of the virtual clock
    long frames = 0;          // stop after this many frames; 0: the whole timeline
    bool help = false;
    bool version = false;
    bool checkGl = false;     // stop on nothing, but report GL errors and exit non-zero

    bool UsesVirtualClock() const { return benchmark || !captureDir.empty(); }
};

// Parses argv; false with a message in `error` when an argument is wrong.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

// The --help text, made from the option table.
const char* UsageText();
