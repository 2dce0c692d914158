// platform/vertex_memory_names_win32.cpp — the WGL names of the vertex-array-range allocator.
#include "platform/vertex_memory_names.h"

namespace platform {

const char* const kAllocateMemoryNVName = "wglAllocateMemoryNV";
const char* const kFreeMemoryNVName = "wglFreeMemoryNV";

}  // namespace platform
