// platform/process_memory.h — how much memory the program holds right now.
#pragma once

namespace platform {

// The resident size of this process in kilobytes; -1 where the system does not say.
long ResidentKilobytes();

// Gives the heap's free pages back to the system (between passes of a long run).
void ReturnFreeMemory();

}  // namespace platform
