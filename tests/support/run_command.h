// tests/support/run_command.h — runs a shell command for a test and collects what it prints.
#pragma once

#include <string>

namespace testing_support {

// Runs `command` through the shell with stderr joined to stdout; returns the exit code (-1 when
// it could not be started or did not exit normally) and leaves both streams in `output`.
int RunCommand(const std::string& command, std::string& output);

}  // namespace testing_support
