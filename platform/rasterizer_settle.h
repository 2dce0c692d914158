// platform/rasterizer_settle.h — after each flush, waits until Mesa's llvmpipe rasterizer
// threads have let go of the fences of every scene flushed so far.
//
// llvmpipe (22.3) hands each flushed scene to its rasterizer threads with a fence that every
// thread signals: lock, count, broadcast, unlock. The flushing thread reads the count without
// the lock (when it looks for a free scene, and in the quick test of a fence wait) and, once it
// is complete, may free the fence while the thread that counted last has not yet unlocked it:
// that unlock writes into freed memory, and glibc fails later, anywhere, once in many runs.
// A wait on a sync object from the server side (glWaitSync) takes the fence's lock without the
// quick test, so it returns only after every thread has unlocked the last scene's fence; the
// threads take the scenes in order, so the earlier fences are let go too. Done after each flush,
// finish and swap the program makes, it leaves no scene in a thread's hands when the flushing
// thread next looks at the counts. The flushes the driver makes on its own (a read-back, an
// upload into a texture in use) have no wait after them; with every thread held between the
// count and the unlock (tests/support/fence_watch.cc), none of their fences was freed early over
// the whole timeline. GPU drivers and llvmpipe without threads are left alone.
#pragma once

#include "platform/gl.h"

namespace platform {

// Decides, once the context is current, whether flushes settle: on llvmpipe with its rasterizer
// threads, where the driver offers sync objects.
void ChooseRasterizerSettle();

// Waits on a fresh sync object from the server side; nothing when settling is off.
void SettleRasterizer();

// The driver's glFlush and glFinish, each followed by the wait: the GL table's driver entries.
void APIENTRY SettledDriverFlush();
void APIENTRY SettledDriverFinish();

}  // namespace platform
