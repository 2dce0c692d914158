// tests/support/fence_race.cc — the smallest GL program that shows llvmpipe freeing a fence that
// one of its rasterizer threads is still signalling: frames of small batches, each flushed to
// the rasterizer threads, with some work of the program's own between the batches (as a scene
// that computes its geometry batch by batch has), and a glFinish at the end of each frame.
//
//   fence_race [FRAMES [BATCHES [MICROSECONDS]]]     (defaults 400, 10, 2000)
//
// On Mesa 22.3 with LP_NUM_THREADS=2 and tests/support/fence_watch.cc preloaded, the watch
// reports fences written after they were freed; preloaded with FENCE_WATCH_KEEP=0 the heap
// breaks and glibc stops the program (a segfault in _int_malloc or "corrupted unsorted chunks").
// With LP_NUM_THREADS=0 nothing is reported. Exit status 0 once every frame was drawn.
//
// It is a .cc file so that the test program's own source list (*.cpp) leaves it out.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 400;
    const int batches = argc > 2 ? std::atoi(argv[2]) : 10;
    const long busyMicroseconds = argc > 3 ? std::atol(argv[3]) : 2000;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "fence_race: %s\n", SDL_GetError());
        return 2;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_Window* window = SDL_CreateWindow("fence_race", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "fence_race: %s\n", SDL_GetError());
        return 2;
    }
    std::printf("fence_race: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    const Uint64 ticksPerMicrosecond = SDL_GetPerformanceFrequency() / 1000000;
    for (int frame = 0; frame < frames; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        for (int batch = 0; batch < batches; ++batch) {
            glBegin(GL_TRIANGLES);
            glVertex2f(-1.0f, -1.0f);
            glVertex2f(1.0f, -1.0f);
            glVertex2f(0.0f, 1.0f);
            glEnd();
            glFlush();   // the batch becomes a scene of its own, with its own fence
            const Uint64 until = SDL_GetPerformanceCounter() + busyMicroseconds * ticksPerMicrosecond;
            while (SDL_GetPerformanceCounter() < until) {
                // the program's own work on the next batch
            }
        }
        glFinish();
    }
    std::printf("fence_race: %d frames of %d batches\n", frames, batches);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
