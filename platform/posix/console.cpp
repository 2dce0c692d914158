// platform/posix/console.cpp — stdout and stderr are the terminal's or where they are redirected.
#include "platform/console.h"

namespace platform {

void AttachConsoleOutput() {}

int FinishConsoleOutput(int exitCode) { return exitCode; }

}  // namespace platform
