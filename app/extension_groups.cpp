// app/extension_groups.cpp — group names and switches, and the driver report.
#include "app/extension_groups.h"

#include <algorithm>

#include "app/extensions.h"
#include "app/settings.h"
#include "gl_layers/gles_layer.h"

namespace {

const char* const kNames[kGroupCount] = {"multitexture", "vertex-weighting", "compiled-arrays",
                                         "anisotropic",  "vertex-array-range", "env-combine"};

}  // namespace

const char* GroupName(ExtensionGroup group) { return kNames[static_cast<std::size_t>(group)]; }

const char* SourceName(GroupSource source) {
    switch (source) {
        case GroupSource::Driver: return "driver";
        case GroupSource::Ours: return "ours";
        case GroupSource::Off: break;
    }
    return "off";
}

bool& GroupSwitch(ExtensionGroup group) {
    switch (group) {
        case ExtensionGroup::Multitexture: return settings.useMultitexture;
        case ExtensionGroup::VertexWeighting: return settings.useVertexWeighting;
        case ExtensionGroup::CompiledArrays: return settings.useCompiledVertexArrays;
        case ExtensionGroup::Anisotropic: return settings.useAnisotropicFilter;
        case ExtensionGroup::VertexArrayRange: return settings.useVertexArrayRange;
        case ExtensionGroup::EnvCombine: break;
    }
    return settings.useTextureEnvCombine;
}

bool ParseGroupList(const std::string& text, unsigned allowed, unsigned& groups, std::string& error) {
    unsigned parsed = 0;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(',', begin), text.size());
        const std::string name = text.substr(begin, end - begin);
        bool known = false;
        if (name == "all") {
            parsed = allowed;
            known = true;
        }
        for (std::size_t i = 0; i < kGroupCount && !known; ++i) {
            if ((allowed & (1u << i)) && name == kNames[i]) {
                parsed |= 1u << i;
                known = true;
            }
        }
        if (!known) {
            error = "unknown extension group '" + name + "'; valid:";
            for (std::size_t i = 0; i < kGroupCount; ++i) {
                if (allowed & (1u << i)) error += std::string(" ") + kNames[i];
            }
            error += " or all";
            return false;
        }
        if (end == text.size()) break;
        begin = end + 1;
    }
    groups = parsed;
    return true;
}

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
    // Under our OpenGL ES layer every group that is on comes from our own code.
    const bool layer = gl_layers::GlesLayerInstalled();
    if (layer) std::fputs("layer:    our OpenGL 1.x layer over OpenGL ES (gl_layers/)\n", out);
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        const GroupSource source = extensionState.sources[i];
        std::fprintf(out, "%-20s%s\n", GroupName(static_cast<ExtensionGroup>(i)),
                     SourceName(layer && source == GroupSource::Driver ? GroupSource::Ours : source));
    }
    std::fputs("not found:", out);
    for (const std::string& name : extensionState.missing) std::fprintf(out, " %s", name.c_str());
    std::fputs(extensionState.missing.empty() ? " none\n" : "\n", out);
}
