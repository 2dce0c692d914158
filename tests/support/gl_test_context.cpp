// tests/support/gl_test_context.cpp — headless context, read-back and reference pictures.
#include "support/gl_test_context.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/extensions.h"
#include "app/settings.h"
#include "app/shell.h"
#include "platform/gl.h"
#include "platform/window.h"

namespace testing_support {
namespace {

constexpr int kReduce = 4;   // references are stored at a quarter of the size each way

std::vector<std::uint8_t> Reduce(const std::vector<std::uint8_t>& rgb, int width, int height) {
    const int w = width / kReduce, h = height / kReduce;
    std::vector<std::uint8_t> out(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < kReduce; ++dy)
                    for (int dx = 0; dx < kReduce; ++dx)
                        sum += rgb[(static_cast<size_t>(y * kReduce + dy) * width + x * kReduce + dx) * 3 + c];
                out[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<std::uint8_t>(sum / (kReduce * kReduce));
            }
    return out;
}

}  // namespace

bool OpenGLTestContext() {
    if (platform::IsWindowOpen()) return true;
    platform::WindowOptions options;
    options.fullScreen = false;
    options.headless = true;
    platform::WindowError error;
    if (!platform::OpenWindow(options, error)) {
        std::fprintf(stderr, "no GL context for the test: %s\n", error.message.c_str());
        return false;
    }
    InitExtensions();
    SetStartProjection();
    return true;
}

std::vector<std::uint8_t> ReadFrame(int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

std::string TestAssetRoot() { return std::string(UNDERTOW_BINARY_DIR) + "/assets"; }

std::string CompareWithReference(const std::string& name, const std::vector<std::uint8_t>& rgb, int width,
                                 int height, double tolerance) {
    const std::vector<std::uint8_t> small = Reduce(rgb, width, height);
    const int w = width / kReduce, h = height / kReduce;
    const std::string path = std::string(UNDERTOW_SOURCE_DIR) + "/tests/reference/" + name + ".ppm";
    const char* update = std::getenv("UNDERTOW_UPDATE_REFERENCES");
    if (update && std::string(update) == "1") {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << w << " " << h << "\n255\n";
        out.write(reinterpret_cast<const char*>(small.data()), static_cast<std::streamsize>(small.size()));
        return out ? std::string() : "cannot write " + path;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return "no reference picture " + path + " (run with UNDERTOW_UPDATE_REFERENCES=1 to make it)";
    std::string magic;
    int rw = 0, rh = 0, maxValue = 0;
    in >> magic >> rw >> rh >> maxValue;
    in.get();
    if (magic != "P6" || rw != w || rh != h || maxValue != 255) return "reference " + path + " has another format";
    std::vector<std::uint8_t> reference(small.size());
    in.read(reinterpret_cast<char*>(reference.data()), static_cast<std::streamsize>(reference.size()));
    if (!in) return "reference " + path + " is truncated";
    double total = 0;
    for (size_t i = 0; i < small.size(); ++i) total += std::abs(static_cast<int>(small[i]) - reference[i]);
    const double mean = total / static_cast<double>(small.size());
    if (mean <= tolerance) return {};
    std::ostringstream message;
    message << name << ": mean difference " << mean << " exceeds " << tolerance;
    const std::string actualPath = std::string(UNDERTOW_BINARY_DIR) + "/" + name + ".actual.ppm";
    std::ofstream out(actualPath, std::ios::binary);
    out << "P6\n" << w << " " << h << "\n255\n";
    out.write(reinterpret_cast<const char*>(small.data()), static_cast<std::streamsize>(small.size()));
    message << " (this run's picture: " << actualPath << ")";
    return message.str();
}

}  // namespace testing_support
