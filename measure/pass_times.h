// measure/pass_times.h — where a frame's rendering goes, pass by pass, for profiling.
//
// Each mark waits for the GL work queued since the previous mark (glFinish) and charges the wall
// time in between to the named pass. That serialises the main thread with the renderer, so a run
// with marks on shows what each pass costs, not how fast the frames are. Off, a mark does nothing.
#pragma once

#include <cstdio>
#include <string>

namespace pass_times {

void Enable(bool on);
bool Enabled();

// Starts a frame's marks: finishes what is queued, then the clock for the first pass runs.
void BeginFrame();

// Charges the time since the previous mark to `pass`.
void Mark(const char* pass);

// Charges what is left since the last mark to `lastPass`, then books the frame's passes under
// `section` (the scene that drew the frame, known only once it is drawn).
void EndFrame(const std::string& section, const char* lastPass);

// Mean milliseconds per frame of each pass, grouped by section in first-seen order.
void Print(std::FILE* out);

// The collected figures as text, one "section pass frames mean" line each; for tests.
std::string Summary();

}  // namespace pass_times
