// capture/file_replacement.h — a file written under a temporary name beside the one it is to
// replace, and moved over it only once it is complete: a recording that fails leaves whatever
// was there before untouched, and leaves no temporary file behind.
#pragma once

#include <string>

class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement() { Discard(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Picks the temporary name for `target` and returns it; nothing is written yet.
    const std::string& Begin(const std::string& target);
    // Moves the finished file over the target. False with a reason when it cannot; the
    // temporary file is gone either way.
    bool Commit(std::string& error);
    // Removes the temporary file, if one was written.
    void Discard();

    const std::string& Target() const { return target; }

private:
    std::string target;
    std::string temporary;
};

// The temporary name for `target`: in the same folder (so the move never crosses file
// systems), marked as unfinished and by the process `id`, keeping the extension that tells
// ffmpeg the container: "out/clip.mp4" -> "out/clip.partial-1234.mp4".
std::string TemporaryNameFor(const std::string& target, long id);
