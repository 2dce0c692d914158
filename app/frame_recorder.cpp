// app/frame_recorder.cpp — frame read-back, PNG files and the ffmpeg call.
#include "app/frame_recorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/png_writer.h"
#include "platform/gl.h"

namespace {

bool MakeFolders(const std::string& path) {
    std::string partial;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
        if (i < path.size()) partial += path[i];
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ProgramOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
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

}  // namespace

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool FrameRecorder::Begin(const std::string& dir, int fps, std::string& error) {
    folder = dir;
    framesPerSecond = fps;
    if (!MakeFolders(dir)) {
        error = "cannot create the capture folder " + dir + " (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

void FrameRecorder::GrabBackBuffer() {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, lastFrame.data());
}

bool FrameRecorder::WriteStep() {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", framesWritten);
    if (!WritePNG(folder + name, 640, 480, lastFrame.data())) {
        std::fprintf(stderr, "capture: cannot write %s%s\n", folder.c_str(), name);
        return false;
    }
    ++framesWritten;
    return true;
}

std::string FrameRecorder::MakeVideo(const std::string& musicPath, std::string& error) const {
    if (framesWritten == 0) {
        error = "no frames were recorded";
        return {};
    }
    if (!ProgramOnPath("ffmpeg")) {
        error = "ffmpeg is not installed; the frames are in " + folder;
        return {};
    }
    const std::string video = folder + "/undertow.mp4";
    std::string command = "ffmpeg -y -loglevel error -framerate " + std::to_string(framesPerSecond) + " -i " +
                          ShellQuote(folder + "/frame_%06d.png");
    if (!musicPath.empty()) command += " -i " + ShellQuote(musicPath) + " -map 0:v -map 1:a -c:a aac -b:a 192k -shortest";
    command += " -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p " + ShellQuote(video) + " </dev/null";
    if (std::system(command.c_str()) != 0) {
        error = "ffmpeg could not make the video; the frames are in " + folder;
        return {};
    }
    return video;
}
