// app/extensions.cpp — extension detection, entry points and the vertex-array-range block.
#include "app/extensions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/settings.h"
#include "platform/vertex_memory_names.h"
#include "platform/window.h"

namespace ext {

MultiTexCoord1fARB glMultiTexCoord1fARB = nullptr;
MultiTexCoord2fARB glMultiTexCoord2fARB = nullptr;
MultiTexCoord3fARB glMultiTexCoord3fARB = nullptr;
MultiTexCoord4fARB glMultiTexCoord4fARB = nullptr;
ActiveTextureARB glActiveTextureARB = nullptr;
ClientActiveTextureARB glClientActiveTextureARB = nullptr;
VertexWeightfEXT glVertexWeightfEXT = nullptr;
VertexWeightPointerEXT glVertexWeightPointerEXT = nullptr;
LockArraysEXT glLockArraysEXT = nullptr;
UnlockArraysEXT glUnlockArraysEXT = nullptr;
AllocateMemoryNV glXAllocateMemoryNV = nullptr;
FreeMemoryNV glXFreeMemoryNV = nullptr;
VertexArrayRangeNV glVertexArrayRangeNV = nullptr;
GenFencesNV glGenFencesNV = nullptr;
DeleteFencesNV glDeleteFencesNV = nullptr;
SetFenceNV glSetFenceNV = nullptr;
TestFenceNV glTestFenceNV = nullptr;
FinishFenceNV glFinishFenceNV = nullptr;
IsFenceNV glIsFenceNV = nullptr;
GetFenceivNV glGetFenceivNV = nullptr;
DrawRangeElements glDrawRangeElements = nullptr;

}  // namespace ext

void* agpMemory = nullptr;
VertexArrayChunk vertexArrayChunks[4];
ExtensionState extensionState;

namespace {

// Mesa's software rasterizers advertise anisotropic filtering, but their sampler can spend
// seconds to minutes on one frame where sphere-mapped coordinates change steeply (the rims of
// the chrome objects). On them the filter is treated as missing, which changes only the look.
bool HasSlowAnisotropicSampler() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe"));
}

// The driver's test, remembering each name it does not find.
bool Look(const char* name) {
    if (IsExtensionSupported(name)) return true;
    std::vector<std::string>& missing = extensionState.missing;
    if (std::find(missing.begin(), missing.end(), name) == missing.end()) missing.push_back(name);
    return false;
}

void Found(ExtensionGroup group, GroupSource source) {
    extensionState.sources[static_cast<std::size_t>(group)] = source;
}

void UseOurVertexWeighting() {
    ext::glVertexWeightfEXT = gl_layers::VertexWeightf;
    ext::glVertexWeightPointerEXT = gl_layers::VertexWeightPointer;
}

void UseOurVertexArrayRange() {
    gl_layers::InstallVertexArrayRange();
    ext::glXAllocateMemoryNV = gl_layers::AllocateMemory;
    ext::glXFreeMemoryNV = gl_layers::FreeMemory;
    ext::glVertexArrayRangeNV = gl_layers::VertexArrayRange;
    ext::glGenFencesNV = gl_layers::GenFences;
    ext::glDeleteFencesNV = gl_layers::DeleteFences;
    ext::glSetFenceNV = gl_layers::SetFence;
    ext::glTestFenceNV = gl_layers::TestFence;
    ext::glFinishFenceNV = gl_layers::FinishFence;
    ext::glIsFenceNV = gl_layers::IsFence;
    ext::glGetFenceivNV = gl_layers::GetFenceiv;
}

}  // namespace

bool ExtensionListHas(const char* extensions, const char* name) {
    if (!name || !extensions) return false;
    const char* p = extensions;
    char token[1024];
    while (*p) {
        // A token runs to the next single space or the end of the string; longer ones are cut.
        std::size_t length = 0;
        while (p[length] && p[length] != ' ') ++length;
        const std::size_t copied = length < sizeof token - 1 ? length : sizeof token - 1;
        std::memcpy(token, p, copied);
        token[copied] = '\0';
        if (std::strcmp(token, name) == 0) return true;
        p += length;
        if (*p == ' ') ++p;
    }
    return false;
}

bool IsExtensionSupported(const char* name) {
    if (!name) return false;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return ExtensionListHas(extensions, name);
}

void InitExtensions() {
    for (GroupSource& source : extensionState.sources) source = GroupSource::Off;
    extensionState.missing.clear();
    gl_layers::RemoveVertexArrayRange();
    gl_layers::RemoveVertexWeighting();
    platform::FindGLProc(ext::glDrawRangeElements, "glDrawRangeElements");
    if (settings.useMultitexture) {
        if (Look("GL_ARB_multitexture") && Look("GL_EXT_texture_env_combine")) {
            platform::FindGLProc(ext::glMultiTexCoord1fARB, "glMultiTexCoord1fARB");
            platform::FindGLProc(ext::glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
            platform::FindGLProc(ext::glMultiTexCoord3fARB, "glMultiTexCoord3fARB");
            platform::FindGLProc(ext::glMultiTexCoord4fARB, "glMultiTexCoord4fARB");
            platform::FindGLProc(ext::glActiveTextureARB, "glActiveTextureARB");
            platform::FindGLProc(ext::glClientActiveTextureARB, "glClientActiveTextureARB");
            Found(ExtensionGroup::Multitexture, GroupSource::Driver);
        } else {
            settings.useMultitexture = false;
        }
    }
    if (settings.useVertexWeighting) {
        // Where the driver lacks the group, its vertex programs carry ours.
        if (Look("GL_EXT_vertex_weighting")) {
            platform::FindGLProc(ext::glVertexWeightfEXT, "glVertexWeightfEXT");
            platform::FindGLProc(ext::glVertexWeightPointerEXT, "glVertexWeightPointerEXT");
            Found(ExtensionGroup::VertexWeighting, GroupSource::Driver);
        } else if (Look("GL_ARB_vertex_program") && gl_layers::InstallVertexWeighting()) {
            UseOurVertexWeighting();
            Found(ExtensionGroup::VertexWeighting, GroupSource::Ours);
        } else {
            settings.useVertexWeighting = false;
        }
    }
    if (settings.useCompiledVertexArrays) {
        if (Look("GL_EXT_compiled_vertex_array")) {
            platform::FindGLProc(ext::glLockArraysEXT, "glLockArraysEXT");
            platform::FindGLProc(ext::glUnlockArraysEXT, "glUnlockArraysEXT");
            Found(ExtensionGroup::CompiledArrays, GroupSource::Driver);
        } else {
            settings.useCompiledVertexArrays = false;
        }
    }
    if (settings.useAnisotropicFilter) {
        if (Look("GL_EXT_texture_filter_anisotropic") && !HasSlowAnisotropicSampler())
            Found(ExtensionGroup::Anisotropic, GroupSource::Driver);
        else
            settings.useAnisotropicFilter = false;
    }
    if (settings.useVertexArrayRange) {
        if (Look("GL_NV_vertex_array_range") && Look("GL_NV_fence")) {
            platform::FindGLProc(ext::glXAllocateMemoryNV, platform::kAllocateMemoryNVName);
            platform::FindGLProc(ext::glXFreeMemoryNV, platform::kFreeMemoryNVName);
            platform::FindGLProc(ext::glVertexArrayRangeNV, "glVertexArrayRangeNV");
            platform::FindGLProc(ext::glGenFencesNV, "glGenFencesNV");
            platform::FindGLProc(ext::glDeleteFencesNV, "glDeleteFencesNV");
            platform::FindGLProc(ext::glSetFenceNV, "glSetFenceNV");
            platform::FindGLProc(ext::glTestFenceNV, "glTestFenceNV");
            platform::FindGLProc(ext::glFinishFenceNV, "glFinishFenceNV");
            platform::FindGLProc(ext::glIsFenceNV, "glIsFenceNV");
            platform::FindGLProc(ext::glGetFenceivNV, "glGetFenceivNV");
            Found(ExtensionGroup::VertexArrayRange, GroupSource::Driver);
        } else if (extensionState.emulateVertexArrayRange) {
            UseOurVertexArrayRange();
            Found(ExtensionGroup::VertexArrayRange, GroupSource::Ours);
        } else {
            settings.useVertexArrayRange = false;
        }
    }
    if (settings.useTextureEnvCombine) {
        if (Look("GL_EXT_texture_env_combine")) Found(ExtensionGroup::EnvCombine, GroupSource::Driver);
        else settings.useTextureEnvCombine = false;
    }
}

void AllocateVertexArrayRange() {
    agpMemory = ext::glXAllocateMemoryNV ? ext::glXAllocateMemoryNV(kVertexArrayRangeBytes, 0.0f, 0.0f, 0.5f) : nullptr;
    if (!agpMemory) {
        char text[128];
        std::snprintf(text, sizeof text,
                      "Can not allocate %4.1f MB of AGP memory.\nGL_VN_vertex_array_range will be disabled.", 1.6);
        platform::ShowMessageBox(text, "Error...");
        settings.useVertexArrayRange = false;
        Found(ExtensionGroup::VertexArrayRange, GroupSource::Off);
        return;
    }
    vertexArrayChunks[0].memory = static_cast<unsigned char*>(agpMemory);
    for (int k = 1; k < 4; ++k) vertexArrayChunks[k].memory = vertexArrayChunks[k - 1].memory + kVertexArrayChunkBytes;
    ext::glVertexArrayRangeNV(kVertexArrayRangeBytes, agpMemory);
    glEnableClientState(GL_VERTEX_ARRAY_RANGE_NV);
    for (VertexArrayChunk& chunk : vertexArrayChunks) ext::glGenFencesNV(1, &chunk.fence);
}

void ReleaseVertexArrayRange() {
    if (!settings.useVertexArrayRange) return;
    if (agpMemory) {
        if (ext::glXFreeMemoryNV) ext::glXFreeMemoryNV(agpMemory);
        agpMemory = nullptr;
    }
    for (VertexArrayChunk& chunk : vertexArrayChunks) {
        if (ext::glDeleteFencesNV) ext::glDeleteFencesNV(1, &chunk.fence);
    }
}
