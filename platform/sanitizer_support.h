// platform/sanitizer_support.h — keeping the leak checker's report to our own code in
// sanitizer builds. Does nothing in other builds.
#pragma once

namespace platform {

// Marks every shared library loaded so far as never to be unloaded. The GL driver, its
// compiler and the audio back ends are loaded at run time and unloaded when SDL shuts down;
// the memory they still hold would then lose its last reference and be reported as leaked at
// exit. Kept loaded, it stays reachable, as it is in every run without the leak checker.
void KeepLoadedLibraries();

}  // namespace platform
