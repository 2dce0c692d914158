// platform/sanitizer_support.cpp — library pinning and the leak checker's compiled-in
// suppressions, both only where AddressSanitizer is on.
#include "platform/sanitizer_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define UNDERTOW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDERTOW_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(UNDERTOW_ADDRESS_SANITIZER)
#include <dlfcn.h>
#include <link.h>

// What system libraries keep until exit by design: caches built once per process (fontconfig's
// configuration, the GL driver's and LLVM's state, SDL's and D-Bus's connection data). Only
// library names appear here; a leak whose stack reaches no such library is still reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libSDL2-2.0.so\n"
           "leak:libSDL2_mixer-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libX11.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libEGL_mesa.so\n"
           "leak:libGLdispatch.so\n"
           "leak:libgallium\n"
           "leak:swrast_dri.so\n"
           "leak:libLLVM\n"
           "leak:libpulse\n"
           "leak:libasound.so\n";
}

namespace platform {

void KeepLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0]) dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace platform

#else

namespace platform {

void KeepLoadedLibraries() {}

}  // namespace platform

#endif
