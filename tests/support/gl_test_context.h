// tests/support/gl_test_context.h — a real headless GL context for tests, plus frame read-back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Opens (once per process) a hidden 640 × 480 window with a GL context on SDL's offscreen
// driver, detects the extension groups and sets the demo's viewport and projection. False,
// with a message on stderr, when no context can be made.
bool OpenGLTestContext();

// The back buffer as tightly packed RGB rows, bottom row first.
std::vector<std::uint8_t> ReadFrame(int width = 640, int height = 480);

// The folder the asset generator wrote for the tests (build/assets).
std::string TestAssetRoot();

// Compares an RGB frame with tests/reference/<name>.ppm, allowing a mean absolute difference
// per channel of `tolerance` (0..255). With UNDERTOW_UPDATE_REFERENCES=1 in the environment the
// reference is written instead. Returns a description of the mismatch, empty when it matches.
std::string CompareWithReference(const std::string& name, const std::vector<std::uint8_t>& rgb, int width,
                                 int height, double tolerance);

}  // namespace testing_support
