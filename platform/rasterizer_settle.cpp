// platform/rasterizer_settle.cpp — the fences held after a flush and the wait after a finish or
// swap, on llvmpipe with threads.
#include "platform/rasterizer_settle.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

using FenceSyncFunction = GLsync(APIENTRY*)(GLenum condition, GLbitfield flags);
using WaitSyncFunction = void(APIENTRY*)(GLsync sync, GLbitfield flags, GLuint64 timeout);
using DeleteSyncFunction = void(APIENTRY*)(GLsync sync);

struct SyncCalls {
    FenceSyncFunction fenceSync = nullptr;
    WaitSyncFunction waitSync = nullptr;
    DeleteSyncFunction deleteSync = nullptr;
};

SyncCalls sync;

// Fences of flushes the program made since the last wait, each kept alive by a sync object.
constexpr int kMostHeld = 16;
GLsync held[kMostHeld];
int heldCount = 0;

void ReleaseHeld() {
    for (int i = 0; i < heldCount; ++i) sync.deleteSync(held[i]);
    heldCount = 0;
}

// Waits from the server side until every rasterizer thread has let go of `fence`, and so of
// every fence before it: the threads take the scenes in order.
void WaitAndRelease(GLsync fence) {
    sync.waitSync(fence, 0, GL_TIMEOUT_IGNORED);
    ReleaseHeld();
}

// A sync object holds a reference to the fence of the last scene flushed. While it lives, the
// driver dropping its own references cannot free the fence under the thread that signals it
// last, so the threads may go on with the scene while the program builds the next one.
void HoldFlushedFence() {
    if (!sync.fenceSync) return;
    if (heldCount == kMostHeld) WaitAndRelease(held[kMostHeld - 1]);
    if (GLsync fence = sync.fenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0)) held[heldCount++] = fence;
}

// llvmpipe starts a thread per core unless LP_NUM_THREADS names a count; with 0 it draws on the
// flushing thread and there is nothing to race.
bool RasterizerThreadsRun() {
    const char* count = SDL_getenv("LP_NUM_THREADS");
    return !count || std::atoi(count) > 0;
}

// Asked by name: before a layer is installed the browser's GL table holds no glGetString.
bool OnLlvmpipe() {
    const auto getString = reinterpret_cast<const GLubyte*(APIENTRY*)(GLenum)>(SDL_GL_GetProcAddress("glGetString"));
    const char* renderer = getString ? reinterpret_cast<const char*>(getString(GL_RENDERER)) : nullptr;
    return renderer && std::strstr(renderer, "llvmpipe") != nullptr;
}

template <typename Function>
void Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

}  // namespace

void ChooseRasterizerSettle() {
    heldCount = 0;   // a new context: the old one took its sync objects with it
    sync = SyncCalls();
    if (!RasterizerThreadsRun() || !OnLlvmpipe()) return;
    SyncCalls found;
    Find(found.fenceSync, "glFenceSync");
    Find(found.waitSync, "glWaitSync");
    Find(found.deleteSync, "glDeleteSync");
    if (found.fenceSync && found.waitSync && found.deleteSync) sync = found;
}

void SettleRasterizer() {
    if (!sync.fenceSync) return;
    GLsync fence = sync.fenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    if (!fence) {
        if (heldCount > 0) WaitAndRelease(held[heldCount - 1]);
        return;
    }
    WaitAndRelease(fence);
    sync.deleteSync(fence);
}

// The parentheses keep platform/gl.h's macros from turning the driver's calls into the table's.
void APIENTRY HoldingDriverFlush() {
    (::glFlush)();
    HoldFlushedFence();
}

void APIENTRY SettledDriverFinish() {
    (::glFinish)();
    SettleRasterizer();
}

}  // namespace platform
