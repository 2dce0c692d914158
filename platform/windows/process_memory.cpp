// platform/windows/process_memory.cpp — the working set from the process-status call.
#include "platform/process_memory.h"

#include <windows.h>
#include <psapi.h>

#include <malloc.h>

namespace platform {

long ResidentKilobytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

void ReturnFreeMemory() { _heapmin(); }

}  // namespace platform
