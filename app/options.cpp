// app/options.cpp — command-line parsing.
#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/extension_groups.h"
#include "app/option_table.h"

namespace {

bool ParseLong(const char* text, long low, long high, long& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// A decimal number of seconds within the timeline.
bool ParseSeconds(const char* text, double& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !(parsed >= 0.0 && parsed <= 200.0)) return false;
    value = parsed;
    return true;
}

}  // namespace

bool ParseWindowSize(const char* text, int& width, int& height) {
    if (!text) return false;
    const char* x = std::strchr(text, 'x');
    if (!x) return false;
    const std::string first(text, static_cast<std::size_t>(x - text));
    long w = 0, h = 0;
    if (!ParseLong(first.c_str(), 1, 16384, w) || !ParseLong(x + 1, 1, 16384, h)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

const char* UsageText() {
    static const std::string text = FormatUsage();
    return text.c_str();
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        // A missing value, or another option where the value should be, is named as such.
        auto needValue = [&](const char* what) {
            if (next && !(next[0] == '-' && next[1] == '-')) return true;
            error = std::string(arg) + " needs " + what + (next ? std::string(", not the option ") + next : "");
            return false;
        };
        auto badValue = [&](const char* rule) {
            error = std::string(arg) + " takes " + rule + ", not '" + argv[i] + "'";
            return false;
        };
        long value = 0;
        if (std::strcmp(arg, "--windowed") == 0) {
            options.windowed = true;
        } else if (std::strcmp(arg, "--stats") == 0) {
            options.stats = true;
        } else if (std::strcmp(arg, "--benchmark") == 0) {
            options.benchmark = true;
        } else if (std::strcmp(arg, "--pass-times") == 0) {
            options.passTimes = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "--data") == 0) {
            if (!needValue("a folder")) return false;
            options.dataDir = argv[++i];
        } else if (std::strcmp(arg, "--capture") == 0) {
            if (!needValue("a folder or a video file name")) return false;
            options.captureDir = argv[++i];
        } else if (std::strcmp(arg, "--json") == 0) {
            if (!needValue("a file name")) return false;
            options.jsonFile = argv[++i];
        } else if (std::strcmp(arg, "--detail") == 0) {
            if (!needValue("a level (0, 1 or 2)")) return false;
            if (!ParseLong(argv[++i], 0, 2, value)) return badValue("0, 1 or 2");
            options.detail = static_cast<int>(value);
        } else if (std::strcmp(arg, "--fps") == 0) {
            if (!needValue("a number")) return false;
            if (!ParseLong(argv[++i], 1, 1000, value)) return badValue("a whole number from 1 to 1000");
            options.fps = static_cast<int>(value);
        } else if (std::strcmp(arg, "--frames") == 0) {
            if (!needValue("a number")) return false;
            if (!ParseLong(argv[++i], 1, 100000000, value)) return badValue("a positive whole number");
            options.frames = value;
        } else if (std::strcmp(arg, "--start") == 0) {
            if (!needValue("a time in seconds")) return false;
            if (!ParseSeconds(argv[++i], options.startSeconds)) return badValue("seconds of demo time from 0 to 200");
        } else if (std::strcmp(arg, "--gl-info") == 0) {
            options.glInfo = true;
        } else if (std::strcmp(arg, "--no-ext") == 0 || std::strcmp(arg, "--emulate-ext") == 0) {
            if (!needValue("a comma-separated list of extension groups")) return false;
            const bool off = arg[2] == 'n';
            // Our layers stand in for the vertex-array-range group only on request.
            const unsigned allowed = off ? kAllGroups : 1u << static_cast<unsigned>(ExtensionGroup::VertexArrayRange);
            unsigned groups = 0;
            if (!ParseGroupList(argv[++i], allowed, groups, error)) {
                error = std::string(arg) + ": " + error;
                options.unknownGroup = true;
                return false;
            }
            (off ? options.disabledGroups : options.emulatedGroups) |= groups;
        } else if (std::strcmp(arg, "--check-gl") == 0) {
            options.checkGl = true;
        } else if (std::strcmp(arg, "--exclusive") == 0) {
            options.exclusive = true;
        } else if (std::strcmp(arg, "--lossless") == 0) {
            options.lossless = true;
        } else if (std::strcmp(arg, "--no-vsync") == 0) {
            options.vsync = false;
        } else if (std::strcmp(arg, "--size") == 0) {
            if (!needValue("a window size WxH")) return false;
            if (!ParseWindowSize(argv[++i], options.windowWidth, options.windowHeight))
                return badValue("a size WIDTHxHEIGHT such as 1280x960");
        } else if (std::strcmp(arg, "--scale") == 0) {
            if (!needValue("a number")) return false;
            if (!ParseLong(argv[++i], 1, 4, value)) return badValue("1, 2, 3 or 4");
            options.scale = static_cast<int>(value);
        } else if (std::strcmp(arg, "--msaa") == 0) {
            if (!needValue("a number of samples")) return false;
            if (!ParseLong(argv[++i], 0, 16, value)) return badValue("a number of samples from 0 to 16");
            options.msaa = static_cast<int>(value);
        } else if (std::strcmp(arg, "--crf") == 0) {
            if (!needValue("a number")) return false;
            if (!ParseLong(argv[++i], 0, 51, value)) return badValue("a quality from 0 (best) to 51");
            options.crf = static_cast<int>(value);
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    if (!options.jsonFile.empty() && !options.benchmark) {
        error = "--json goes with --benchmark";
        return false;
    }
    if (options.passTimes && !options.benchmark) {
        error = "--pass-times goes with --benchmark";
        return false;
    }
    const char* clash = nullptr;
    if (options.exclusive && options.windowed) clash = "--exclusive switches the display mode for full screen; it cannot go with --windowed";
    else if (options.exclusive && options.windowWidth > 0) clash = "--exclusive shows 640x480 full screen; it cannot go with --size";
    else if (options.lossless && options.crf >= 0) clash = "--lossless and --crf contradict each other; give one of them";
    if (clash) {
        error = clash;
        return false;
    }
    // A window size asks for a window.
    if (options.windowWidth > 0) options.windowed = true;
    return true;
}
