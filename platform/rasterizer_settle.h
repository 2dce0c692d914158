// platform/rasterizer_settle.h — keeps Mesa's llvmpipe from freeing a fence that one of its
// rasterizer threads is still signalling.
//
// llvmpipe (22.3) hands each flushed scene to its rasterizer threads with a fence that every
// thread signals: lock, count, broadcast, unlock. The flushing thread reads the count without
// the lock (when it looks for a free scene, and in the quick test of a fence wait) and, once it
// is complete, may free the fence while the thread that counted last has not yet unlocked it:
// that unlock writes into freed memory, and glibc fails later, anywhere, once in many runs.
//
// Two guards, for the flushes, finishes and swaps the program makes:
// - After a glFlush the program goes on drawing while the threads work on what was flushed.
//   A sync object made at once holds a reference to that scene's fence, so the driver dropping
//   its own references frees nothing; the sync objects are deleted after the next wait.
// - After a glFinish and a swap it waits on a sync object from the server side (glWaitSync),
//   which takes the fence's lock without the quick test, so it returns only after every thread
//   has unlocked the last scene's fence; the threads take the scenes in order, so the earlier
//   fences are let go too. No scene is left in a thread's hands from one frame to the next.
// Our OpenGL ES layer waits after its flushes as well: its stream buffers, written while a held
// scene still read them, made the driver flush and free fences of its own early. The flushes
// the driver makes on its own (a read-back, an upload into a texture in use) need nothing more:
// with every thread held between the count and the unlock (tests/support/fence_watch.cc), none
// of their fences was freed early over the whole timeline. GPU drivers and llvmpipe without
// threads are left alone.
#pragma once

#include "platform/gl.h"

namespace platform {

// Decides, once the context is current, whether flushes settle: on llvmpipe with its rasterizer
// threads, where the driver offers sync objects.
void ChooseRasterizerSettle();

// Waits on a fresh sync object from the server side, then lets go of the fences held since the
// last wait; nothing when settling is off.
void SettleRasterizer();

// The driver's glFlush, its fence then held until the next wait (at most 16 are held; one more
// waits first), and the driver's glFinish followed by the wait: the GL table's driver entries.
void APIENTRY HoldingDriverFlush();
void APIENTRY SettledDriverFinish();

}  // namespace platform
