// fuzz/fuzz_support.cpp — temporary files, stderr capture and the failure stop.
#include "fuzz_support.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/asset_path.h"

namespace fuzz {

void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

namespace {

// A file in memory when the system offers one, else a temporary file; removed once closed.
std::FILE* ScratchFile() {
    const int fd = ::memfd_create("undertow-fuzz", 0);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "w+b") : std::tmpfile();
    FUZZ_CHECK(file != nullptr);
    return file;
}

// A folder for the asset files: in shared memory where there is some, so writes stay cheap.
const char* ScratchFolder() {
    struct stat info {};
    return ::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
}

}  // namespace

std::FILE* OpenBytes(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = ScratchFile();
    if (size > 0) FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    std::rewind(file);
    return file;
}

const std::string& AssetRoot() {
    static const std::string root = [] {
        std::string pattern = std::string(ScratchFolder()) + "/undertow-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        FUZZ_CHECK(made != nullptr);
        const std::string folder = made;
        ::mkdir((folder + "/TEKSTURY").c_str(), 0755);
        ::mkdir((folder + "/TEKSTURY/WODA").c_str(), 0755);
        ::mkdir((folder + "/DANE").c_str(), 0755);
        platform::SetAssetRoot(folder);
        // Registered before the string's own destructor, so it runs after it: keep a copy.
        static const std::string* const removeAtExit = new std::string(folder);
        std::atexit([] { std::filesystem::remove_all(*removeAtExit); });
        return folder;
    }();
    return root;
}

std::string WriteAsset(const char* relative, const std::uint8_t* data, std::size_t size) {
    const std::string path = AssetRoot() + "/" + relative;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    if (size > 0) FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
    return path;
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    sink = ScratchFile();
    saved = ::dup(2);
    ::dup2(::fileno(sink), 2);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(sink);
}

std::string StderrCapture::Text() {
    std::fflush(stderr);
    std::string text;
    std::rewind(sink);
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, sink)) > 0) text.append(buffer, got);
    std::fseek(sink, 0, SEEK_END);
    return text;
}

int LineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace fuzz
