// platform/windows/vertex_memory_names.cpp — the WGL names of the vertex-array-range allocator.
#include "platform/vertex_memory_names.h"

namespace platform {

const char* const kAllocateMemoryNVName = "wglAllocateMemoryNV";
const char* const kFreeMemoryNVName = "wglFreeMemoryNV";

}  // namespace platform
