// app/extensions.h — optional OpenGL extension groups and their entry points.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/extension_groups.h"
#include "gl_layers/vertex_array_range.h"
#include "gl_layers/vertex_weighting.h"
#include "platform/gl.h"

// Entry points, each null until resolved and meaningful only while its switch is set. They
// live in a namespace of their own because the system GL header declares some of these names.
namespace ext {

using MultiTexCoord1fARB = void (APIENTRY*)(GLenum, GLfloat);
using MultiTexCoord2fARB = void (APIENTRY*)(GLenum, GLfloat, GLfloat);
using MultiTexCoord3fARB = void (APIENTRY*)(GLenum, GLfloat, GLfloat, GLfloat);
using MultiTexCoord4fARB = void (APIENTRY*)(GLenum, GLfloat, GLfloat, GLfloat, GLfloat);
using ActiveTextureARB = void (APIENTRY*)(GLenum);
using ClientActiveTextureARB = void (APIENTRY*)(GLenum);
using VertexWeightfEXT = void (APIENTRY*)(GLfloat);
using VertexWeightPointerEXT = void (APIENTRY*)(GLint, GLenum, GLsizei, const void*);
using LockArraysEXT = void (APIENTRY*)(GLint, GLsizei);
using UnlockArraysEXT = void (APIENTRY*)();
using AllocateMemoryNV = void* (APIENTRY*)(GLsizei, GLfloat, GLfloat, GLfloat);
using FreeMemoryNV = void (APIENTRY*)(void*);
using VertexArrayRangeNV = void (APIENTRY*)(GLsizei, const void*);
using GenFencesNV = void (APIENTRY*)(GLsizei, GLuint*);
using DeleteFencesNV = void (APIENTRY*)(GLsizei, const GLuint*);
using SetFenceNV = void (APIENTRY*)(GLuint, GLenum);
using TestFenceNV = GLboolean (APIENTRY*)(GLuint);
using FinishFenceNV = void (APIENTRY*)(GLuint);
using IsFenceNV = GLboolean (APIENTRY*)(GLuint);
using GetFenceivNV = void (APIENTRY*)(GLuint, GLenum, GLint*);
using DrawRangeElements = void (APIENTRY*)(GLenum, GLuint, GLuint, GLsizei, GLenum, const void*);

extern MultiTexCoord1fARB glMultiTexCoord1fARB;
extern MultiTexCoord2fARB glMultiTexCoord2fARB;
extern MultiTexCoord3fARB glMultiTexCoord3fARB;
extern MultiTexCoord4fARB glMultiTexCoord4fARB;
extern ActiveTextureARB glActiveTextureARB;
extern ClientActiveTextureARB glClientActiveTextureARB;
extern VertexWeightfEXT glVertexWeightfEXT;
extern VertexWeightPointerEXT glVertexWeightPointerEXT;
extern LockArraysEXT glLockArraysEXT;
extern UnlockArraysEXT glUnlockArraysEXT;
extern AllocateMemoryNV glXAllocateMemoryNV;   // the AGP block's allocator
extern FreeMemoryNV glXFreeMemoryNV;
extern VertexArrayRangeNV glVertexArrayRangeNV;
extern GenFencesNV glGenFencesNV;
extern DeleteFencesNV glDeleteFencesNV;
extern SetFenceNV glSetFenceNV;
extern TestFenceNV glTestFenceNV;
extern FinishFenceNV glFinishFenceNV;
extern IsFenceNV glIsFenceNV;
extern GetFenceivNV glGetFenceivNV;
// OpenGL 1.2, which Windows' opengl32 does not export: always through the driver's entry point.
extern DrawRangeElements glDrawRangeElements;

}  // namespace ext

// One quarter of the vertex-array-range block, with the fence that guards it.
struct VertexArrayChunk {
    unsigned char* memory = nullptr;
    GLuint fence = 0;
};

constexpr std::size_t kVertexArrayRangeBytes = 1600000;
constexpr std::size_t kVertexArrayChunkBytes = 400000;

extern void* agpMemory;
extern VertexArrayChunk vertexArrayChunks[4];

// Where each group came from in this run, and what detection looked for in vain.
struct ExtensionState {
    bool emulateVertexArrayRange = false;   // offer our block and fences where the driver has none
    GroupSource sources[kGroupCount] = {};
    std::vector<std::string> missing;       // extension names looked for and not found, in order
};

extern ExtensionState extensionState;

// Tests each group whose switch is set, resolves its entry points and clears the switch of
// each group the driver lacks; where one of our layers can stand in for a missing group, its
// entry points are the layer's instead. Needs a current GL context.
void InitExtensions();

// Whole-token, case-sensitive search of the driver's extension string.
bool IsExtensionSupported(const char* name);

// The same search over a given string (the driver's string is one case of it).
bool ExtensionListHas(const char* extensions, const char* name);

// Allocates the vertex-array-range block and its fences; clears the switch on failure.
void AllocateVertexArrayRange();

// Frees the block and deletes the fences (only while the switch is still set).
void ReleaseVertexArrayRange();
