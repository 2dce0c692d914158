// app/option_table.cpp — the rows of the option list and the --help layout made from them.
#include "app/option_table.h"

#include <algorithm>

#ifndef UNDERTOW_VERSION
#define UNDERTOW_VERSION "unknown"
#endif

namespace {

// One row per option. Keep the man page (dist/undertow.6) and the README table in step: a test
// compares them with this list.
const OptionInfo kOptions[] = {
    {"--windowed", nullptr, nullptr,
     "play in a 640x480 window instead of full screen; the window can be\n"
     "resized, and Alt+Enter switches between window and full screen"},
    {"--size", nullptr, "WxH", "the window's size (implies --windowed)"},
    {"--exclusive", nullptr, nullptr,
     "full screen by switching the display to 640x480, instead of\n"
     "covering the desktop at its own resolution"},
    {"--scale", nullptr, "N",
     "draw the picture at N x 640 by N x 480 (1 to 4, default 1); the\n"
     "screen shows it 4:3 with bars, --capture records it at that size"},
    {"--msaa", nullptr, "N", "multisampling with N samples where the driver offers it (default 0)"},
    {"--no-vsync", nullptr, nullptr, "do not wait for the display's refresh between frames"},
    {"--stats", nullptr, nullptr, "draw the frame-rate line"},
    {"--data", nullptr, "DIR", "the folder holding TEKSTURY and DANE"},
    {"--detail", nullptr, "N", "quality level 0, 1 or 2 (default 2)"},
    {"--capture", nullptr, "PATH",
     "record at a fixed frame rate: PATH ending in .mp4, .m4v, .mov or\n"
     ".mkv is written straight as H.264 with the music (needs ffmpeg);\n"
     "any other PATH is a folder for frame_000000.png, ... and then\n"
     "PATH/undertow.mp4"},
    {"--benchmark", nullptr, nullptr,
     "render as fast as possible on a fixed time step, then print\n"
     "frame-time figures per scene"},
    {"--crf", nullptr, "N", "with --capture: H.264 quality, 0 (best) to 51 (default 18)"},
    {"--lossless", nullptr, nullptr,
     "with --capture: record without loss (FFV1 in a .mkv file,\n"
     "otherwise libx264rgb at QP 0)"},
    {"--json", nullptr, "FILE", "with --benchmark: also write the figures to FILE"},
    {"--pass-times", nullptr, nullptr,
     "with --benchmark: finish and time each drawing pass on its own,\n"
     "then print the mean per pass (the frames get slower)"},
    {"--fps", nullptr, "N", "time steps per second for --capture and --benchmark (default 60)"},
    {"--frames", nullptr, "N", "stop after N frames"},
    {"--start", nullptr, "SECONDS",
     "begin showing (or recording) at this demo time; the frames before\n"
     "are played through unseen, so what follows is what a whole run shows"},
    {"--check-gl", nullptr, nullptr,
     "check for GL errors after the loading screen and every frame;\n"
     "name the first, and exit with 3 at the end if there were any"},
    {"--gl-info", nullptr, nullptr,
     "open the GL context as a run would, print the driver, where each\n"
     "extension group comes from (driver, ours or off) and the extensions\n"
     "not found, then exit"},
    {"--no-ext", nullptr, "LIST",
     "turn off extension groups (comma-separated: multitexture,\n"
     "vertex-weighting, compiled-arrays, anisotropic, vertex-array-range,\n"
     "env-combine, or all); an unknown name exits with 2"},
    {"--emulate-ext", nullptr, "LIST",
     "where the driver lacks them, give these groups from our own layers\n"
     "(vertex-array-range)"},
    {"--version", nullptr, nullptr, "print the version and exit"},
    {"--help", "-h", nullptr, "this text"},
};

constexpr const char* kUsageLine = "usage: undertow [options]\n";
constexpr const char* kClosingNote =
    "Without a display, --capture and --benchmark render off screen.\n"
    "F12 writes the picture as undertow-NNNN.png in the current folder.\n";

// "--data DIR" or "-h, --help".
std::string Spelling(const OptionInfo& option) {
    std::string text = option.alias ? std::string(option.alias) + ", " + option.name : std::string(option.name);
    if (option.argument) text += std::string(" ") + option.argument;
    return text;
}

}  // namespace

const OptionInfo* OptionTable() { return kOptions; }

std::size_t OptionCount() { return sizeof kOptions / sizeof kOptions[0]; }

std::string FormatUsage() {
    std::size_t column = 0;
    for (const OptionInfo& option : kOptions) column = std::max(column, Spelling(option).size());
    column += 2 + 2;   // the indent before and the gap after the widest spelling
    std::string text = kUsageLine;
    for (const OptionInfo& option : kOptions) {
        std::string line = "  " + Spelling(option);
        line.append(column - line.size(), ' ');
        for (const char* c = option.help; *c; ++c) {
            if (*c == '\n') {
                text += line + "\n";
                line.assign(column, ' ');
            } else {
                line += *c;
            }
        }
        text += line + "\n";
    }
    return text + kClosingNote;
}

const char* VersionText() { return "undertow " UNDERTOW_VERSION; }
