// tests/support/child_run.h — the demo run in a child process of its own (a run ends with the
// program-wide shutdown, which happens once per process).
#pragma once

#include <functional>
#include <string>

#include "app/options.h"

namespace testing_support {

struct ChildRun {
    int exitCode = -1;
    std::string output;   // stdout and stderr together
};

// Runs the demo in a child with `options`, after `before` has run there; the child also prints
// the demo clock and the current scene's load state after the run.
ChildRun RunInChild(const Options& options, const std::function<void()>& before);

}  // namespace testing_support
