// platform/web/process_memory.cpp — the program's memory is the WebAssembly heap, which grows
// and never shrinks: its size is what the page holds, and nothing can be given back.
#include "platform/process_memory.h"

#include <emscripten/heap.h>

namespace platform {

long ResidentKilobytes() { return static_cast<long>(emscripten_get_heap_size() / 1024); }

void ReturnFreeMemory() {}

}  // namespace platform
