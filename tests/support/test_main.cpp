// tests/support/test_main.cpp — runs every test headless: SDL's offscreen video, its dummy audio.
#include <gtest/gtest.h>

#include <cstdlib>

// The system's GL, SDL and fontconfig keep allocations until exit; leak reports would only
// name them. Address and undefined-behaviour checks stay on in sanitizer builds.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);   // reference pictures come from the software renderer
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 0);   // for the programs the tests start
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
