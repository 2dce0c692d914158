// platform/child_process.h — a helper program (the video encoder) run beside the demo.
//
// The child runs in a process group of its own, so a Ctrl-C at the terminal reaches only the
// demo, which decides how the child ends. Every wait here has a time limit: a child that stops
// reading or stops altogether cannot hold the demo.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct ChildProcess {
    long id = -1;     // the process; -1: none running
    int input = -1;   // our end of the child's standard input; -1: none
};

// How a child ended.
struct ChildExit {
    bool exited = false;   // false: ended by a signal
    int code = 0;          // the exit status when it exited
};

// Starts the program args[0], looked up on PATH, with `args`. With `pipeInput` its standard
// input is a pipe whose end is `child.input`; otherwise it reads nothing. False with a reason
// when it cannot be started.
bool StartChild(const std::vector<std::string>& args, bool pipeInput, ChildProcess& child, std::string& error);

// Hands the child what it takes of `data` within `timeoutMs`: the bytes taken (0 when none in
// time), or -1 when the child no longer reads its input.
long WriteToChild(ChildProcess& child, const void* data, std::size_t size, int timeoutMs);

// Ends the child's input, so that it sees the end of its data.
void CloseChildInput(ChildProcess& child);

// Waits up to `timeoutMs` for the child to end; true, with how, once it has (and is reaped).
bool WaitForChild(ChildProcess& child, int timeoutMs, ChildExit& how);

// Ends the child at once, stopped or not, and reaps it.
void KillChild(ChildProcess& child);

// True when `name` is an executable file in one of the PATH folders (or, with a slash, is one).
bool ProgramOnPath(const char* name);

// This process's id, for names that two runs at once must not share.
long CurrentProcessId();

}  // namespace platform
