// capture/encoder_process.cpp — starting the encoder, watching it, and waiting for its end.
#include "capture/encoder_process.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string WholeSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", seconds);
    return text;
}

}  // namespace

bool EncoderProcess::Start(const std::vector<std::string>& args, bool pipeInput, const std::string& outputPath,
                           std::string& error) {
    name = args.empty() ? std::string() : args[0];
    output = outputPath;
    outputSize = 0;
    lastSign = Now();
    return platform::StartChild(args, pipeInput, child, error);
}

long EncoderProcess::Write(const void* data, std::size_t size, int timeoutMs) {
    const long taken = platform::WriteToChild(child, data, size, timeoutMs);
    if (taken > 0) lastSign = Now();
    return taken;
}

bool EncoderProcess::Stalled(double seconds) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(output, error);
    if (!error && size != outputSize) {
        outputSize = size;
        lastSign = Now();
    }
    return static_cast<double>(Now() - lastSign.load()) * 1e-9 > seconds;
}

std::string EncoderProcess::HungMessage(bool stopping, double seconds) const {
    if (stopping) return name + " did not finish within " + WholeSeconds(seconds) + " s of the stop; it was ended";
    return name + " took nothing and wrote nothing for " + WholeSeconds(seconds) + " s; it was ended";
}

bool EncoderProcess::Finish(bool stopping, const StopAsked& stopAsked, const EncoderPatience& patience,
                            std::string& error) {
    platform::CloseChildInput(child);
    lastSign = Now();   // from here on the encoder only writes: give it the whole time to show it
    platform::ChildExit how;
    while (!platform::WaitForChild(child, 100, how)) {
        if (!stopping && stopAsked && stopAsked()) stopping = true;
        const double seconds = patience.Seconds(stopping);
        if (Stalled(seconds)) {
            Kill();
            error = HungMessage(stopping, seconds);
            return false;
        }
    }
    if (how.exited && how.code == 0) return true;
    if (how.exited && how.code == 127)
        error = name + " could not be run";
    else if (how.exited)
        error = name + " failed (exit status " + std::to_string(how.code) + ")";
    else
        error = name + " was stopped by a signal";
    return false;
}
