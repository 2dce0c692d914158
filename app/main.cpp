// app/main.cpp — the program's entry point.
#include <cstdio>

#include "app/option_table.h"
#include "app/options.h"
#include "app/shell.h"
#include "platform/console.h"

namespace {

int Run(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "undertow: %s (undertow --help lists the options)\n", error.c_str());
        return options.unknownGroup ? kExitUnknownGroup : kExitSetupFailed;
    }
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return kExitOk;
    }
    if (options.version) {
        std::puts(VersionText());
        return kExitOk;
    }
    if (options.glInfo) return ShowGLInfo(options);
    return RunDemo(options, argc > 0 ? argv[0] : nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    platform::AttachConsoleOutput();
    return platform::FinishConsoleOutput(Run(argc, argv));
}
