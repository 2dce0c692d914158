// tests/support/fence_watch.cc — a library preloaded into a GL program on Mesa's llvmpipe by a
// test: it makes the driver's fence race happen every time it can, and reports it.
//
// An llvmpipe rasterizer thread signals a scene's fence by locking its mutex, counting, waking
// the waiters and unlocking. The watch pauses such a thread in the wake-up, after the count and
// before the unlock, so that a fence the flushing thread frees as soon as it sees the count
// complete is freed while the mutex is still to be unlocked. It keeps every freed block of the
// fence's size (llvmpipe allocates its fence with calloc, 112 bytes) out of the heap for a
// while, zeroed, and says on stderr when such a block was written after it was freed. At exit it
// prints one line: "fence-watch: F fences freed, W written after free, P paused signals".
// FENCE_WATCH_PAUSE_MS sets the pause (default 2); FENCE_WATCH_KEEP=0 hands freed blocks back
// at once, so the heap itself is corrupted as it would be without the watch.
//
// It is a .cc file so that the test program's own source list (*.cpp) leaves it out.
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr std::size_t kFenceBytes = 112;
constexpr std::size_t kKept = 8192;        // freed fences kept out of the heap at once
constexpr std::size_t kTracked = 1 << 16;  // fence-sized blocks now allocated (open addressing)

using CallocFunction = void* (*)(std::size_t, std::size_t);
using FreeFunction = void (*)(void*);
using BroadcastFunction = int (*)(pthread_cond_t*);

CallocFunction realCalloc = nullptr;
FreeFunction realFree = nullptr;
BroadcastFunction realBroadcast = nullptr;
pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
void* tracked[kTracked];
void* kept[kKept];
std::size_t nextKept = 0;
long freedFences = 0, writtenAfterFree = 0, pausedSignals = 0;

// dlsym may ask for memory before the real calloc is known.
alignas(16) unsigned char early[4096];
std::size_t earlyUsed = 0;

void* const kRemoved = reinterpret_cast<void*>(1);

std::size_t SlotOf(void* block) {
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(block) >> 4) * 2654435761u) % kTracked;
}

void Track(void* block) {
    for (std::size_t i = SlotOf(block);; i = (i + 1) % kTracked) {
        if (tracked[i] == nullptr || tracked[i] == kRemoved) {
            tracked[i] = block;
            return;
        }
    }
}

bool Untrack(void* block) {
    for (std::size_t i = SlotOf(block); tracked[i] != nullptr; i = (i + 1) % kTracked) {
        if (tracked[i] == block) {
            tracked[i] = kRemoved;
            return true;
        }
    }
    return false;
}

void Say(const char* text) {
    const ssize_t ignored = ::write(2, text, std::strlen(text));
    (void)ignored;
}

// A kept block is zero while nobody touches it.
void Check(const unsigned char* block) {
    std::size_t first = kFenceBytes, last = 0;
    for (std::size_t i = 0; i < kFenceBytes; ++i) {
        if (block[i] != 0) {
            if (first == kFenceBytes) first = i;
            last = i;
        }
    }
    if (first == kFenceBytes) return;
    ++writtenAfterFree;
    char line[160];
    std::snprintf(line, sizeof line, "fence-watch: a freed fence was written after free, bytes %zu to %zu\n", first, last);
    Say(line);
}

bool KeepFreedBlocks() {
    const char* keep = std::getenv("FENCE_WATCH_KEEP");
    return !keep || std::strcmp(keep, "0") != 0;
}

bool OnRasterizerThread() {
    char name[16] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    return std::strncmp(name, "llvmpipe-", 9) == 0;
}

__attribute__((destructor)) void Report() {
    pthread_mutex_lock(&lock);
    for (void* block : kept)
        if (block) Check(static_cast<const unsigned char*>(block));
    char line[160];
    std::snprintf(line, sizeof line, "fence-watch: %ld fences freed, %ld written after free, %ld paused signals\n",
                  freedFences, writtenAfterFree, pausedSignals);
    Say(line);
    pthread_mutex_unlock(&lock);
}

}  // namespace

extern "C" {

void* calloc(std::size_t count, std::size_t size) {
    if (!realCalloc) {
        static bool looking = false;
        if (looking) {
            void* block = early + earlyUsed;
            earlyUsed += (count * size + 15) & ~static_cast<std::size_t>(15);
            return earlyUsed <= sizeof early ? block : nullptr;
        }
        looking = true;
        realCalloc = reinterpret_cast<CallocFunction>(::dlsym(RTLD_NEXT, "calloc"));
        looking = false;
    }
    void* block = realCalloc(count, size);
    if (block && count * size == kFenceBytes) {
        pthread_mutex_lock(&lock);
        Track(block);
        pthread_mutex_unlock(&lock);
    }
    return block;
}

void free(void* block) {
    if (!realFree) realFree = reinterpret_cast<FreeFunction>(::dlsym(RTLD_NEXT, "free"));
    const auto* bytes = static_cast<unsigned char*>(block);
    if (!block || (bytes >= early && bytes < early + sizeof early)) return;
    pthread_mutex_lock(&lock);
    if (!Untrack(block)) {
        pthread_mutex_unlock(&lock);
        realFree(block);
        return;
    }
    ++freedFences;
    void* oldest = nullptr;
    if (KeepFreedBlocks()) {
        // Zeroed, a freed fence still reads as an unlocked mutex and an idle condition, so a
        // late signal goes through and leaves its marks instead of waiting forever.
        std::memset(block, 0, kFenceBytes);
        oldest = kept[nextKept];
        kept[nextKept] = block;
        nextKept = (nextKept + 1) % kKept;
        if (oldest) Check(static_cast<const unsigned char*>(oldest));
    } else {
        oldest = block;
    }
    pthread_mutex_unlock(&lock);
    if (oldest) realFree(oldest);
}

int pthread_cond_broadcast(pthread_cond_t* condition) {
    if (!realBroadcast) realBroadcast = reinterpret_cast<BroadcastFunction>(::dlsym(RTLD_NEXT, "pthread_cond_broadcast"));
    if (OnRasterizerThread()) {
        __atomic_add_fetch(&pausedSignals, 1, __ATOMIC_RELAXED);
        const char* text = std::getenv("FENCE_WATCH_PAUSE_MS");
        const long ms = text ? std::atol(text) : 2;
        const timespec pause = {ms / 1000, (ms % 1000) * 1000000};
        ::nanosleep(&pause, nullptr);
    }
    return realBroadcast(condition);
}

}  // extern "C"
