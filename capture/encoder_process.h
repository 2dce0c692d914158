// capture/encoder_process.h — ffmpeg as a child process, ended when it stops showing signs of life.
//
// A sign of life is input taken or the output file growing. An encoder that shows none for the
// stall time while the run goes on, or for a few seconds once the user has asked the run to stop,
// counts as hung (stopped, or stuck on its output): it is ended and reaped, and the recording
// fails. A slow encoder keeps taking frames or writing, however slowly, and is waited for.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/child_process.h"

// Asked a few times a second while the recording waits on the encoder: whether the user wants
// the run to stop (Escape, Ctrl-C, the window closed).
using StopAsked = std::function<bool()>;

// How long an encoder may show no sign of life: while the run goes on, and once the user has
// asked it to stop.
struct EncoderPatience {
    double runningSeconds = 30.0;
    double stoppingSeconds = 5.0;
    double Seconds(bool stopping) const { return stopping ? stoppingSeconds : runningSeconds; }
};

class EncoderProcess {
public:
    EncoderProcess() = default;
    ~EncoderProcess() { Kill(); }
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // Starts `args` (args[0] the program), writing `output`; with `pipeInput` it reads Write's data.
    bool Start(const std::vector<std::string>& args, bool pipeInput, const std::string& output, std::string& error);
    // Hands over what the encoder takes of `data` within `timeoutMs`: the bytes taken, 0 when none
    // in time, -1 when it no longer reads. May run on a thread of its own.
    long Write(const void* data, std::size_t size, int timeoutMs);
    // Whether the encoder has shown no sign of life for `seconds`.
    bool Stalled(double seconds);
    // Ends the input and waits for the encoder to finish the output. False with a reason when it
    // failed or hung (then it has been ended). `stopping`: the user already asked to stop.
    bool Finish(bool stopping, const StopAsked& stopAsked, const EncoderPatience& patience, std::string& error);
    // Ends the encoder at once and reaps it.
    void Kill() { platform::KillChild(child); }

    bool Running() const { return child.id > 0; }
    const std::string& Name() const { return name; }
    // The reason given when the encoder hung for `seconds`.
    std::string HungMessage(bool stopping, double seconds) const;

private:
    platform::ChildProcess child;
    std::string name;
    std::string output;
    std::uintmax_t outputSize = 0;
    std::atomic<std::int64_t> lastSign{0};   // steady-clock nanoseconds
};
