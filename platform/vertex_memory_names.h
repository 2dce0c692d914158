// platform/vertex_memory_names.h — the window system's names for the vertex-array-range allocator.
#pragma once

namespace platform {

// glXAllocateMemoryNV / glXFreeMemoryNV under X11, wglAllocateMemoryNV / wglFreeMemoryNV on Windows.
extern const char* const kAllocateMemoryNVName;
extern const char* const kFreeMemoryNVName;

}  // namespace platform
