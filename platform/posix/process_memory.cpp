// platform/posix/process_memory.cpp — the resident size from /proc/self/statm; the heap trimmed by glibc.
#include "platform/process_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

long ResidentKilobytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) return -1;
    long size = 0, resident = -1;
    const int read = std::fscanf(file, "%ld %ld", &size, &resident);
    std::fclose(file);
    if (read != 2 || resident < 0) return -1;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void ReturnFreeMemory() { ::malloc_trim(0); }

}  // namespace platform
