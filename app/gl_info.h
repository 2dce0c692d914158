// app/gl_info.h — the driver report of --gl-info.
#pragma once

#include <cstdio>

// Prints the driver's renderer, vendor and version strings, one line per extension group with
// where it came from (driver, ours or off), and the extensions detection looked for and did not
// find. Needs the context and the detection of a run.
void PrintGLInfo(std::FILE* out);
