// app/frame_recorder.h — records the demo at a fixed frame rate: PNG frames, then a video.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FrameRecorder {
public:
    // Creates `dir` if needed; false with a message when it cannot be written.
    bool Begin(const std::string& dir, int fps, std::string& error);
    // Keeps the finished picture of the back buffer (call just before a swap).
    void GrabBackBuffer();
    // Writes the picture on screen as the next frame; a step in which nothing was drawn repeats
    // the last picture.
    bool WriteStep();
    // Encodes the frames and the music into <dir>/undertow.mp4 with ffmpeg, when it is installed.
    // Returns the video's path, or empty with a reason in `error`.
    std::string MakeVideo(const std::string& musicPath, std::string& error) const;

    long FramesWritten() const { return framesWritten; }
    const std::string& Folder() const { return folder; }

private:
    std::string folder;
    int framesPerSecond = 60;
    long framesWritten = 0;
    std::vector<std::uint8_t> lastFrame = std::vector<std::uint8_t>(640 * 480 * 3, 0);
};

// Quotes a path for a POSIX shell.
std::string ShellQuote(const std::string& text);
