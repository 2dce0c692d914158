// gl_layers/vertex_program.h — ARB vertex programs (GL_ARB_vertex_program): compiling one from
// its text, switching it on and off, deleting it. Our layers and scenes use them where the fixed
// pipeline cannot route a vertex's data as they need.
#pragma once

#include "platform/gl.h"

namespace gl_layers {

// Compiles `text`; 0, with one line on stderr starting with `who`, when the driver has no
// vertex programs or rejects this one. Needs a current context.
GLuint CompileVertexProgram(const char* text, const char* who);

// Binds `program` and enables vertex programs; 0 disables them again.
void UseVertexProgram(GLuint program);

void DeleteVertexProgram(GLuint program);

// The driver's generic vertex-attribute calls that come with vertex programs; set once a
// compile has found the entry points.
struct VertexAttribCalls {
    PFNGLVERTEXATTRIB1FARBPROC attrib1f = nullptr;
    PFNGLVERTEXATTRIBPOINTERARBPROC pointer = nullptr;
    PFNGLENABLEVERTEXATTRIBARRAYARBPROC enableArray = nullptr;
    PFNGLDISABLEVERTEXATTRIBARRAYARBPROC disableArray = nullptr;
};
const VertexAttribCalls& VertexAttribs();

}  // namespace gl_layers
