// app/option_table.cpp — the rows of the option list and the --help layout made from them.
#include "app/option_table.h"

#include <algorithm>

#include "app/extension_groups.h"

#ifndef UNDERTOW_VERSION
#define UNDERTOW_VERSION "unknown"
#endif

namespace {

constexpr OptionValueRule Switch() { return {OptionValueKind::None, nullptr, nullptr, 0, 0}; }
constexpr OptionValueRule Text(const char* wanted) { return {OptionValueKind::Text, wanted, nullptr, 0, 0}; }
constexpr OptionValueRule Whole(const char* wanted, const char* takes, long low, long high) {
    return {OptionValueKind::Whole, wanted, takes, low, high};
}
constexpr OptionValueRule Seconds(const char* wanted, const char* takes) {
    return {OptionValueKind::Seconds, wanted, takes, 0, 0};
}
// A comma-separated list of the extension groups in `allowed`.
constexpr OptionValueRule Groups(unsigned allowed) {
    return {OptionValueKind::Groups, "a comma-separated list of extension groups", nullptr,
            static_cast<long>(allowed), 0};
}
constexpr OptionValueRule Size(const char* wanted, const char* takes) {
    return {OptionValueKind::Size, wanted, takes, 0, 0};
}

// One row per option. Keep the man page (dist/undertow.6) and the README table in step: a test
// compares them with this list.
const OptionInfo kOptions[] = {
    {"--windowed", nullptr, nullptr,
     "play in a 640x480 window instead of full screen; the window can be\n"
     "resized, and Alt+Enter switches between window and full screen",
     Switch(),
     [](Options& o, const OptionValue&) { o.windowed = true; }},
    {"--size", nullptr, "WxH", "the window's size (implies --windowed)",
     Size("a window size WxH", "a size WIDTHxHEIGHT such as 1280x960"),
     [](Options& o, const OptionValue& v) {
         o.windowWidth = v.width;
         o.windowHeight = v.height;
     }},
    {"--exclusive", nullptr, nullptr,
     "full screen by switching the display to 640x480, instead of\n"
     "covering the desktop at its own resolution",
     Switch(),
     [](Options& o, const OptionValue&) { o.exclusive = true; }},
    {"--scale", nullptr, "N",
     "draw the picture at N x 640 by N x 480 (1 to 4, default 1); the\n"
     "screen shows it 4:3 with bars, --capture records it at that size",
     Whole("a number", "1, 2, 3 or 4", 1, 4),
     [](Options& o, const OptionValue& v) { o.scale = static_cast<int>(v.whole); }},
    {"--msaa", nullptr, "N", "multisampling with N samples where the driver offers it (default 0)",
     Whole("a number of samples", "a number of samples from 0 to 16", 0, 16),
     [](Options& o, const OptionValue& v) { o.msaa = static_cast<int>(v.whole); }},
    {"--no-vsync", nullptr, nullptr, "do not wait for the display's refresh between frames",
     Switch(),
     [](Options& o, const OptionValue&) { o.vsync = false; }},
    {"--max-fps", nullptr, "N",
     "draw at most N frames a second while playing (default 60, the\n"
     "rate the motion was timed at; 0: as fast as the display allows)",
     Whole("a number", "a whole number from 0 to 1000", 0, 1000),
     [](Options& o, const OptionValue& v) { o.maxFps = static_cast<int>(v.whole); }},
    {"--loop", nullptr, nullptr,
     "when the timeline ends, play it again from the start with the\n"
     "music, until Escape (with --capture or --benchmark, --frames ends it)",
     Switch(),
     [](Options& o, const OptionValue&) { o.loop = true; }},
    {"--stats", nullptr, nullptr, "draw the frame-rate line",
     Switch(),
     [](Options& o, const OptionValue&) { o.stats = true; }},
    {"--data", nullptr, "DIR", "the folder holding TEKSTURY and DANE",
     Text("a folder"),
     [](Options& o, const OptionValue& v) { o.dataDir = v.text; }},
    {"--detail", nullptr, "N", "quality level 0, 1 or 2 (default 2)",
     Whole("a level (0, 1 or 2)", "0, 1 or 2", 0, 2),
     [](Options& o, const OptionValue& v) { o.detail = static_cast<int>(v.whole); }},
    {"--capture", nullptr, "PATH",
     "record at a fixed frame rate: PATH ending in .mp4, .m4v, .mov or\n"
     ".mkv is written straight as H.264 with the music (needs ffmpeg);\n"
     "any other PATH is a folder for frame_000000.png, ... and then\n"
     "PATH/undertow.mp4",
     Text("a folder or a video file name"),
     [](Options& o, const OptionValue& v) { o.captureDir = v.text; }},
    {"--benchmark", nullptr, nullptr,
     "render as fast as possible on a fixed time step, then print\n"
     "frame-time figures per scene",
     Switch(),
     [](Options& o, const OptionValue&) { o.benchmark = true; }},
    {"--crf", nullptr, "N", "with --capture: H.264 quality, 0 (best) to 51 (default 18)",
     Whole("a number", "a quality from 0 (best) to 51", 0, 51),
     [](Options& o, const OptionValue& v) { o.crf = static_cast<int>(v.whole); }},
    {"--lossless", nullptr, nullptr,
     "with --capture: record without loss (FFV1 in a .mkv file,\n"
     "otherwise libx264rgb at QP 0)",
     Switch(),
     [](Options& o, const OptionValue&) { o.lossless = true; }},
    {"--json", nullptr, "FILE", "with --benchmark: also write the figures to FILE",
     Text("a file name"),
     [](Options& o, const OptionValue& v) { o.jsonFile = v.text; }},
    {"--pass-times", nullptr, nullptr,
     "with --benchmark: finish and time each drawing pass on its own,\n"
     "then print the mean per pass (the frames get slower)",
     Switch(),
     [](Options& o, const OptionValue&) { o.passTimes = true; }},
    {"--fps", nullptr, "N", "time steps per second for --capture and --benchmark (default 60)",
     Whole("a number", "a whole number from 1 to 1000", 1, 1000),
     [](Options& o, const OptionValue& v) { o.fps = static_cast<int>(v.whole); }},
    {"--frames", nullptr, "N", "stop after N frames",
     Whole("a number", "a positive whole number", 1, 100000000),
     [](Options& o, const OptionValue& v) { o.frames = v.whole; }},
    {"--start", nullptr, "SECONDS",
     "begin showing (or recording) at this demo time; the frames before\n"
     "are played through unseen, so what follows is what a whole run shows",
     Seconds("a time in seconds", "seconds of demo time from 0 to 200"),
     [](Options& o, const OptionValue& v) { o.startSeconds = v.seconds; }},
    {"--paused", nullptr, nullptr,
     "open paused on the first frame shown (with --start, a link to a\n"
     "moment); Space plays on",
     Switch(),
     [](Options& o, const OptionValue&) { o.paused = true; }},
    {"--check-gl", nullptr, nullptr,
     "check for GL errors after the loading screen and every frame;\n"
     "name the first, and exit with 3 at the end if there were any",
     Switch(),
     [](Options& o, const OptionValue&) { o.checkGl = true; }},
    {"--gles", nullptr, nullptr,
     "open an OpenGL ES 3.0 context and draw through our OpenGL 1.x\n"
     "layer over it (gl_layers/) instead of the desktop driver",
     Switch(),
     [](Options& o, const OptionValue&) { o.gles = true; }},
    {"--gl-info", nullptr, nullptr,
     "open the GL context as a run would, print the driver, where each\n"
     "extension group comes from (driver, ours or off) and the extensions\n"
     "not found, then exit",
     Switch(),
     [](Options& o, const OptionValue&) { o.glInfo = true; }},
    {"--no-ext", nullptr, "LIST",
     "turn off extension groups (comma-separated: multitexture,\n"
     "vertex-weighting, compiled-arrays, anisotropic, vertex-array-range,\n"
     "env-combine, or all); an unknown name exits with 2",
     Groups(kAllGroups),
     [](Options& o, const OptionValue& v) { o.disabledGroups |= v.groups; }},
    // Our layers stand in for the vertex-array-range group only on request.
    {"--emulate-ext", nullptr, "LIST",
     "where the driver lacks them, give these groups from our own layers\n"
     "(vertex-array-range)",
     Groups(1u << static_cast<unsigned>(ExtensionGroup::VertexArrayRange)),
     [](Options& o, const OptionValue& v) { o.emulatedGroups |= v.groups; }},
    {"--version", nullptr, nullptr, "print the version and exit",
     Switch(),
     [](Options& o, const OptionValue&) { o.version = true; }},
    {"--help", "-h", nullptr, "this text",
     Switch(),
     [](Options& o, const OptionValue&) { o.help = true; }},
};

constexpr const char* kUsageLine = "usage: undertow [options]\n";
constexpr const char* kClosingNote =
    "Without a display, --capture and --benchmark render off screen.\n"
    "F12 writes the picture as undertow-NNNN.png in the current folder.\n"
    "Keys while playing: Space pauses and resumes, '.' steps one frame while\n"
    "paused, Left and Right go 5 s back and on, Page Up and Page Down go to the\n"
    "previous and next scene, Home to the start, Tab shows the time line,\n"
    "Escape ends the run.\n";

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
