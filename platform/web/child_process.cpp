// platform/web/child_process.cpp — a page starts no programs: a recording that needs the encoder
// fails at once with a reason, as where ffmpeg is missing.
#include "platform/child_process.h"

#include <unistd.h>

namespace platform {

bool StartChild(const std::vector<std::string>& args, bool /*pipeInput*/, ChildProcess& /*child*/,
                std::string& error) {
    error = "cannot start " + (args.empty() ? std::string("a program") : args[0]) + ": a web page runs no programs";
    return false;
}

long WriteToChild(ChildProcess& /*child*/, const void* /*data*/, std::size_t /*size*/, int /*timeoutMs*/) { return -1; }

void CloseChildInput(ChildProcess& child) { child.input = -1; }

bool WaitForChild(ChildProcess& child, int /*timeoutMs*/, ChildExit& how) {
    child.id = -1;
    how = ChildExit{};
    return true;
}

void KillChild(ChildProcess& child) {
    child.id = -1;
    child.input = -1;
}

bool ProgramOnPath(const char* /*name*/) { return false; }

long CurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace platform
