// tests/support/child_run.cpp — the demo run in a forked child, its output collected.
#include "support/child_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "app/globals.h"
#include "app/shell.h"
#include "platform/window.h"

namespace testing_support {

ChildRun RunInChild(const Options& options, const std::function<void()>& before) {
    ChildRun run;
    // A child forked after this process opened its own window would inherit a GL driver
    // without its threads.
    if (platform::IsWindowOpen()) {
        run.output = "a window is already open in this process";
        return run;
    }
    int channel[2];
    if (::pipe(channel) != 0) return run;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(channel[1], 1);
        ::dup2(channel[1], 2);
        ::close(channel[0]);
        before();
        const int code = RunDemo(options, nullptr);
        std::printf("clock %.2f loaded %d window %d\n", static_cast<double>(demo.clock), sceneOne.loaded ? 1 : 0,
                    platform::IsWindowOpen() ? 1 : 0);
        std::fflush(nullptr);
        ::_exit(code);
    }
    ::close(channel[1]);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace testing_support
