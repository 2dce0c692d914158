// app/option_table.h — the one list of the program's command-line options. --help prints it,
// ParseOptions reads the command line with it, and the man page and the README table are
// checked against it, so adding an option means adding one row here.
#pragma once

#include <cstddef>
#include <string>

#include "app/options.h"

// How an option's value is read.
enum class OptionValueKind { None, Text, Whole, Seconds, Size, Groups };

// The value's kind, its limits, and the words the messages use for it.
struct OptionValueRule {
    OptionValueKind kind;
    const char* wanted;    // what a missing value is called: "a folder"
    const char* takes;     // what a wrong value is told the option takes: "0, 1 or 2"
    long low, high;        // the range of a whole number; for groups, `low` holds the names allowed
};

// A value as read: the text, and the number or size it holds for the kinds that read one.
struct OptionValue {
    const char* text = nullptr;
    long whole = 0;
    double seconds = 0;
    int width = 0, height = 0;
    unsigned groups = 0;    // extension groups, one bit each
};

struct OptionInfo {
    const char* name;       // "--data"
    const char* alias;      // a short spelling such as "-h", or nullptr
    const char* argument;   // the value's placeholder ("DIR"), or nullptr for a switch
    const char* help;       // the --help text; '\n' starts a continuation line
    OptionValueRule value;  // how the value is read
    void (*apply)(Options& options, const OptionValue& value);   // what the option sets
};

// The rows in the order --help lists them.
const OptionInfo* OptionTable();
std::size_t OptionCount();

// The whole --help text: a usage line, one entry per row, and a closing note.
std::string FormatUsage();

// "undertow VERSION".
const char* VersionText();
