// app/option_table.h — the one list of the program's command-line options. --help prints it;
// the man page and the README table are checked against it, so adding an option means adding
// one row here (and its parsing in options.cpp).
#pragma once

#include <cstddef>
#include <string>

struct OptionInfo {
    const char* name;       // "--data"
    const char* alias;      // a short spelling such as "-h", or nullptr
    const char* argument;   // the value's placeholder ("DIR"), or nullptr for a switch
    const char* help;       // the --help text; '\n' starts a continuation line
};

// The rows in the order --help lists them.
const OptionInfo* OptionTable();
std::size_t OptionCount();

// The whole --help text: a usage line, one entry per row, and a closing note.
std::string FormatUsage();

// "undertow VERSION".
const char* VersionText();
