// capture/screenshot.cpp — reading the picture back and naming the file.
#include "capture/screenshot.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/png_writer.h"
#include "platform/gl.h"
#include "platform/picture_target.h"
#include "platform/user_folders.h"
#include "platform/window.h"

namespace {

bool pending = false;

void TakePendingScreenshot() {
    if (!pending) return;
    pending = false;
    const std::string here = platform::ScreenshotFolder();
    const std::string path = NextScreenshotName(here);
    std::string error;
    if (path.empty()) {
        std::fprintf(stderr, "undertow: no screenshot written: undertow-0000.png to undertow-9999.png all exist in %s\n",
                     here.c_str());
    } else if (!WriteScreenshot(path, error)) {
        std::fprintf(stderr, "undertow: no screenshot written: %s\n", error.c_str());
    } else {
        std::fprintf(stdout, "screenshot: %s\n", path.c_str());
        std::fflush(stdout);
    }
}

}  // namespace

std::string NextScreenshotName(const std::string& folder) {
    for (int n = 0; n <= 9999; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "undertow-%04d.png", n);
        const std::string path = folder.empty() ? std::string(name) : folder + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return path;
    }
    return {};
}

std::vector<std::uint8_t> ReadPicture() {
    const int width = platform::PictureWidth(), height = platform::PictureHeight();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const platform::PixelRect source = platform::BeginPictureRead();
    glReadPixels(source.x, source.y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    platform::EndPictureRead();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return rgb;
}

bool WriteScreenshot(const std::string& path, std::string& error) {
    const int width = platform::PictureWidth(), height = platform::PictureHeight();
    const std::vector<std::uint8_t> rgb = ReadPicture();
    if (!WritePNG(path, width, height, rgb.data())) {
        error = "cannot write " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

void RequestScreenshot() {
    pending = true;
    platform::SetSnapshotHook(TakePendingScreenshot);
}

void StopScreenshots() {
    pending = false;
    platform::SetSnapshotHook(nullptr);
}
