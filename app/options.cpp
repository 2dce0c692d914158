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

namespace {

const OptionInfo* FindOption(const char* arg) {
    for (std::size_t i = 0; i < OptionCount(); ++i) {
        const OptionInfo& option = OptionTable()[i];
        if (std::strcmp(arg, option.name) == 0 || (option.alias && std::strcmp(arg, option.alias) == 0)) return &option;
    }
    return nullptr;
}

// Reads `text` as the rule says; false when it is not such a value or lies outside the range
// (for a group list, with the reason in `why`).
bool ReadValue(const OptionValueRule& rule, const char* text, OptionValue& value, std::string& why) {
    value.text = text;
    switch (rule.kind) {
        case OptionValueKind::Groups:
            return ParseGroupList(text, static_cast<unsigned>(rule.low), value.groups, why);
        case OptionValueKind::None:
        case OptionValueKind::Text: return true;
        case OptionValueKind::Whole: return ParseLong(text, rule.low, rule.high, value.whole);
        case OptionValueKind::Seconds: return ParseSeconds(text, value.seconds);
        case OptionValueKind::Size: return ParseWindowSize(text, value.width, value.height);
    }
    return false;
}

// Options that go only with another, or contradict each other; false with the reason.
bool CheckCombinations(Options& options, std::string& error) {
    if (!options.jsonFile.empty() && !options.benchmark) {
        error = "--json goes with --benchmark";
        return false;
    }
    if (options.passTimes && !options.benchmark) {
        error = "--pass-times goes with --benchmark";
        return false;
    }
    if (options.loop && options.UsesVirtualClock() && options.frames <= 0) {
        error = "--loop with --benchmark or --capture needs --frames to end the run";
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

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const OptionInfo* option = FindOption(arg);
        if (!option) {
            error = std::string("unknown option ") + arg;
            return false;
        }
        OptionValue value;
        if (option->value.kind != OptionValueKind::None) {
            // A missing value, or another option where the value should be, is named as such.
            const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
            if (!next || (next[0] == '-' && next[1] == '-')) {
                error = std::string(arg) + " needs " + option->value.wanted +
                        (next ? std::string(", not the option ") + next : "");
                return false;
            }
            std::string why;
            if (!ReadValue(option->value, argv[++i], value, why)) {
                options.unknownGroup = option->value.kind == OptionValueKind::Groups;
                error = options.unknownGroup ? std::string(arg) + ": " + why
                                             : std::string(arg) + " takes " + option->value.takes + ", not '" + argv[i] + "'";
                return false;
            }
        }
        option->apply(options, value);
    }
    return CheckCombinations(options, error);
}
