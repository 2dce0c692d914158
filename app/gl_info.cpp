// app/gl_info.cpp — the driver report of --gl-info.
#include "app/gl_info.h"

#include "app/extensions.h"

namespace {

const char* DriverString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "(none)";
}

}  // namespace

void PrintGLInfo(std::FILE* out) {
    std::fprintf(out, "renderer: %s\n", DriverString(GL_RENDERER));
    std::fprintf(out, "vendor:   %s\n", DriverString(GL_VENDOR));
    std::fprintf(out, "version:  %s\n", DriverString(GL_VERSION));
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        std::fprintf(out, "%-20s%s\n", GroupName(static_cast<ExtensionGroup>(i)),
                     SourceName(extensionState.sources[i]));
    }
    std::fputs("not found:", out);
    for (const std::string& name : extensionState.missing) std::fprintf(out, " %s", name.c_str());
    std::fputs(extensionState.missing.empty() ? " none\n" : "\n", out);
}
