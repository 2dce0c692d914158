// platform/posix/vertex_memory_names.cpp — the GLX names of the vertex-array-range allocator.
#include "platform/vertex_memory_names.h"

namespace platform {

const char* const kAllocateMemoryNVName = "glXAllocateMemoryNV";
const char* const kFreeMemoryNVName = "glXFreeMemoryNV";

}  // namespace platform
