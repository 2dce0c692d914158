// platform/posix/child_process.cpp — the child through posix_spawn, a non-blocking pipe and waitpid.
#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform {

namespace {

// Spawn attributes: a process group of its own, no blocked signals, and SIGPIPE back to its
// default (we ignore it ourselves).
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;

    explicit SpawnSetup(int inputEnd) {
        posix_spawn_file_actions_init(&actions);
        if (inputEnd >= 0)
            posix_spawn_file_actions_adddup2(&actions, inputEnd, 0);
        else
            posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawnattr_init(&attributes);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

ChildExit ExitFrom(int status) {
    ChildExit how;
    how.exited = WIFEXITED(status);
    how.code = how.exited ? WEXITSTATUS(status) : 0;
    return how;
}

}  // namespace

bool StartChild(const std::vector<std::string>& args, bool pipeInput, ChildProcess& child, std::string& error) {
    if (args.empty()) {
        error = "no program to start";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int ends[2] = {-1, -1};
    if (pipeInput && ::pipe2(ends, O_CLOEXEC) != 0) {
        error = "cannot make a pipe to " + args[0] + ": " + std::strerror(errno);
        return false;
    }
    // A failed encoder shows as a failed write, not as a dead demo.
    ::signal(SIGPIPE, SIG_IGN);
    pid_t id = -1;
    int failed = 0;
    {
        SpawnSetup setup(ends[0]);
        failed = ::posix_spawnp(&id, args[0].c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    }
    if (ends[0] >= 0) ::close(ends[0]);
    if (failed != 0) {
        if (ends[1] >= 0) ::close(ends[1]);
        error = "cannot start " + args[0] + ": " + std::strerror(failed);
        return false;
    }
    if (ends[1] >= 0) ::fcntl(ends[1], F_SETFL, ::fcntl(ends[1], F_GETFL) | O_NONBLOCK);
    child.id = id;
    child.input = ends[1];
    return true;
}

long WriteToChild(ChildProcess& child, const void* data, std::size_t size, int timeoutMs) {
    if (child.input < 0) return -1;
    pollfd ready{};
    ready.fd = child.input;
    ready.events = POLLOUT;
    const int count = ::poll(&ready, 1, timeoutMs);
    if (count < 0) return errno == EINTR ? 0 : -1;
    if (count == 0) return 0;
    const ssize_t written = ::write(child.input, data, size);
    if (written >= 0) return static_cast<long>(written);
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

void CloseChildInput(ChildProcess& child) {
    if (child.input >= 0) ::close(child.input);
    child.input = -1;
}

bool WaitForChild(ChildProcess& child, int timeoutMs, ChildExit& how) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (child.id > 0) {
        int status = 0;
        const pid_t done = ::waitpid(static_cast<pid_t>(child.id), &status, WNOHANG);
        if (done == static_cast<pid_t>(child.id)) {
            how = ExitFrom(status);
            child.id = -1;
            return true;
        }
        if (done < 0 && errno != EINTR) {   // not ours to wait for any more
            how = ChildExit{};
            child.id = -1;
            return true;
        }
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void KillChild(ChildProcess& child) {
    CloseChildInput(child);
    if (child.id <= 0) return;
    ::kill(static_cast<pid_t>(child.id), SIGKILL);   // ends a stopped process too
    int status = 0;
    while (::waitpid(static_cast<pid_t>(child.id), &status, 0) < 0 && errno == EINTR) {
    }
    child.id = -1;
}

bool ProgramOnPath(const char* name) {
    if (std::strchr(name, '/')) return ::access(name, X_OK) == 0;
    const char* path = std::getenv("PATH");
    if (!path) return false;
    const std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

long CurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace platform
