// The option list is written once: --help, the man page and the README table must name the same
// options with the same arguments, and the parser must know exactly those. The exit codes the
// shell defines are the ones the man page and the README list.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/option_table.h"
#include "app/options.h"
#include "support/run_command.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// stdout of the built program with `arguments`; `exitCode` gets its status.
std::string RunProgram(const std::string& arguments, int& exitCode) {
    std::string output;
    exitCode = testing_support::RunCommand("{ " + std::string(UNDERTOW_BINARY_DIR) + "/undertow " + arguments + " 2>/dev/null; }",
                                           output);
    return output;
}

// One entry in a canonical spelling: the dash names sorted, then the argument ("--data DIR",
// "--help,-h").
std::string Canonical(std::string spelling) {
    for (const char* escaped : {"\\-", "\\fI", "\\fB", "\\fR", "\\fP"}) {
        for (std::size_t at; (at = spelling.find(escaped)) != std::string::npos;)
            spelling.replace(at, std::string(escaped).size(), escaped[1] == '-' ? "-" : "");
    }
    std::replace_if(spelling.begin(), spelling.end(), [](char c) { return c == ',' || c == '"' || c == '`'; }, ' ');
    std::istringstream words(spelling);
    std::vector<std::string> names;
    std::string argument, word;
    while (words >> word) {
        if (word[0] == '-') {
            names.push_back(word);
        } else if (argument.empty()) {
            argument = word;
        }
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
    return argument.empty() ? text : text + " " + argument;
}

std::vector<std::string> FromTable() {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < OptionCount(); ++i) {
        const OptionInfo& row = OptionTable()[i];
        entries.push_back(Canonical(std::string(row.name) + (row.alias ? std::string(" ") + row.alias : "") +
                                    (row.argument ? std::string(" ") + row.argument : "")));
    }
    return entries;
}

// Lines "  --name ARG   text": the spelling ends at the first run of two spaces.
std::vector<std::string> FromHelp(const std::string& help) {
    std::vector<std::string> entries;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  -", 0) != 0) continue;
        entries.push_back(Canonical(line.substr(2, line.find("  ", 2) - 2)));
    }
    return entries;
}

// The line after each .TP in the OPTIONS section, without its font macro.
std::vector<std::string> FromManPage(const std::string& page) {
    std::vector<std::string> entries;
    std::istringstream lines(page);
    bool inOptions = false, afterTP = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SH", 0) == 0) {
            inOptions = line == ".SH OPTIONS";
        } else if (inOptions && line == ".TP") {
            afterTP = true;
        } else if (afterTP) {
            afterTP = false;
            entries.push_back(Canonical(line.substr(line[0] == '.' ? line.find(' ') : 0)));
        }
    }
    return entries;
}

// The first cell of every README table row that starts with an option.
std::vector<std::string> FromReadme(const std::string& readme) {
    std::vector<std::string> entries;
    std::istringstream lines(readme);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("| `-", 0) != 0) continue;
        entries.push_back(Canonical(line.substr(1, line.find('|', 1) - 1)));
    }
    return entries;
}

// The values of the shell's `constexpr int kExit... = N;` constants.
std::vector<int> ShellExitCodes(const std::string& header) {
    std::vector<int> codes;
    std::istringstream lines(header);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("constexpr int kExit");
        const std::size_t equals = line.find('=', at);
        if (at != std::string::npos && equals != std::string::npos) codes.push_back(std::stoi(line.substr(equals + 1)));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

// The ".B N" tags of the man page's EXIT STATUS section.
std::vector<int> ManPageExitCodes(const std::string& page) {
    std::vector<int> codes;
    std::istringstream lines(page);
    bool inSection = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SH", 0) == 0) inSection = line == ".SH EXIT STATUS";
        if (inSection && line.rfind(".B ", 0) == 0 && std::isdigit(static_cast<unsigned char>(line[3])))
            codes.push_back(std::stoi(line.substr(3)));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

// True when the README's "Exit codes:" paragraph names `code` as a number of its own.
bool ReadmeNamesExitCode(const std::string& readme, int code) {
    const std::size_t start = readme.find("Exit codes:");
    if (start == std::string::npos) return false;
    const std::string paragraph = readme.substr(start, readme.find("\n\n", start) - start);
    const std::string number = std::to_string(code);
    for (std::size_t at = paragraph.find(number); at != std::string::npos; at = paragraph.find(number, at + 1)) {
        const bool before = at == 0 || !std::isdigit(static_cast<unsigned char>(paragraph[at - 1]));
        const std::size_t end = at + number.size();
        const bool after = end >= paragraph.size() || !std::isdigit(static_cast<unsigned char>(paragraph[end]));
        if (before && after) return true;
    }
    return false;
}

}  // namespace

TEST(OptionList, HelpManPageAndReadmeAgreeWithTheTable) {
    const std::vector<std::string> table = FromTable();
    ASSERT_GE(table.size(), 10u);
    EXPECT_NE(std::find(table.begin(), table.end(), "--data DIR"), table.end());
    EXPECT_NE(std::find(table.begin(), table.end(), "--help,-h"), table.end());

    int exitCode = -1;
    const std::string help = RunProgram("--help", exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(FromHelp(help), table) << help;
    EXPECT_EQ(FromManPage(ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/dist/undertow.6")), table);
    EXPECT_EQ(FromReadme(ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/README.md")), table);
}

TEST(OptionList, TheParserKnowsExactlyTheTablesOptions) {
    std::vector<std::string> tableNames;
    for (std::size_t i = 0; i < OptionCount(); ++i) {
        const OptionInfo& row = OptionTable()[i];
        for (const char* name : {row.name, row.alias}) {
            if (!name) continue;
            tableNames.push_back(name);
            std::vector<const char*> argv{"undertow", "--benchmark", "--frames", "1", name};
            if (row.argument) {
                const std::string placeholder = row.argument;
                argv.push_back(placeholder == "WxH" ? "800x600" : placeholder == "LIST" ? "all" : "1");
            }
            Options options;
            std::string error;
            EXPECT_TRUE(ParseOptions(static_cast<int>(argv.size()), const_cast<char**>(argv.data()), options, error))
                << name << ": " << error;
        }
    }
    // The parser reads the table and nothing else: a spelling that is no row is unknown.
    for (const char* name : {"--bogus", "-help", "--Help", "--data="}) {
        std::vector<const char*> argv{"undertow", name};
        Options options;
        std::string error;
        EXPECT_FALSE(ParseOptions(static_cast<int>(argv.size()), const_cast<char**>(argv.data()), options, error)) << name;
        EXPECT_EQ(error, std::string("unknown option ") + name);
    }
}

TEST(OptionList, VersionIsTheProjectsEverywhere) {
    int exitCode = -1;
    EXPECT_EQ(RunProgram("--version", exitCode), std::string("undertow ") + UNDERTOW_VERSION + "\n");
    EXPECT_EQ(exitCode, 0);
    const std::string page = ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/dist/undertow.6");
    EXPECT_NE(page.find(std::string("\"undertow ") + UNDERTOW_VERSION + "\""), std::string::npos)
        << "the man page's .TH line names another version";
    // The newest release, listed first, is this one.
    const std::string metainfo =
        ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/dist/org.example.undertow.metainfo.xml");
    const std::string tag = "<release version=\"";
    const std::size_t release = metainfo.find(tag);
    ASSERT_NE(release, std::string::npos);
    const std::size_t start = release + tag.size();
    EXPECT_EQ(metainfo.substr(start, metainfo.find('"', start) - start), UNDERTOW_VERSION);
}

TEST(OptionList, ExitCodesAreTheShellsInManPageAndReadme) {
    const std::vector<int> codes = ShellExitCodes(ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/app/shell.h"));
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(ManPageExitCodes(ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/dist/undertow.6")), codes);
    const std::string readme = ReadText(std::string(UNDERTOW_SOURCE_DIR) + "/README.md");
    for (int code : codes) EXPECT_TRUE(ReadmeNamesExitCode(readme, code)) << "the README does not give exit code " << code;
}
