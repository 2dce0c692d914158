// gl_layers/vertex_array_range.cpp — our vertex-array-range block and fences.
#include "gl_layers/vertex_array_range.h"

#include <cstdlib>
#include <map>

#include "gl_layers/token_routes.h"

namespace gl_layers {

namespace {

// The layer's state for the whole run: whether it stands in, and each fence name handed out
// with the condition last set on it (0 until set).
struct RangeLayer {
    bool installed = false;
    GLuint lastFence = 0;
    std::map<GLuint, GLenum> fences;
};

RangeLayer layer;

}  // namespace

void InstallVertexArrayRange() {
    layer.installed = true;
    RouteExtensionTokens();
}

void RemoveVertexArrayRange() { layer = RangeLayer(); }

bool VertexArrayRangeInstalled() { return layer.installed; }

void* AllocateMemory(GLsizei size, GLfloat, GLfloat, GLfloat) {
    return size > 0 ? std::malloc(static_cast<std::size_t>(size)) : nullptr;
}

void FreeMemory(void* pointer) { std::free(pointer); }

void VertexArrayRange(GLsizei, const void*) {}

void GenFences(GLsizei count, GLuint* fences) {
    for (GLsizei i = 0; i < count; ++i) {
        fences[i] = ++layer.lastFence;
        layer.fences[fences[i]] = 0;
    }
}

void DeleteFences(GLsizei count, const GLuint* fences) {
    for (GLsizei i = 0; i < count; ++i) layer.fences.erase(fences[i]);
}

void SetFence(GLuint fence, GLenum condition) { layer.fences[fence] = condition; }

GLboolean TestFence(GLuint) { return GL_TRUE; }

void FinishFence(GLuint) {}

// A name is a fence once it has been set, as with the driver's fences.
GLboolean IsFence(GLuint fence) {
    const auto found = layer.fences.find(fence);
    return found != layer.fences.end() && found->second != 0 ? GL_TRUE : GL_FALSE;
}

void GetFenceiv(GLuint fence, GLenum name, GLint* values) {
    if (name == GL_FENCE_STATUS_NV) *values = GL_TRUE;
    if (name != GL_FENCE_CONDITION_NV) return;
    const auto found = layer.fences.find(fence);
    if (found != layer.fences.end()) *values = static_cast<GLint>(found->second);
}

}  // namespace gl_layers
