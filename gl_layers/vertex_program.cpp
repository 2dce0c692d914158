// gl_layers/vertex_program.cpp — the driver's vertex-program entry points and the compile.
#include "gl_layers/vertex_program.h"

#include <cstdio>
#include <cstring>

#include "platform/window.h"

namespace gl_layers {

namespace {

struct ProgramCalls {
    PFNGLGENPROGRAMSARBPROC gen = nullptr;
    PFNGLDELETEPROGRAMSARBPROC remove = nullptr;
    PFNGLBINDPROGRAMARBPROC bind = nullptr;
    PFNGLPROGRAMSTRINGARBPROC string = nullptr;
    VertexAttribCalls attribs;
    bool Complete() const {
        return gen && remove && bind && string && attribs.attrib1f && attribs.pointer && attribs.enableArray &&
               attribs.disableArray;
    }
};

// Looked up again for each compile: a new context may bring other entry points.
ProgramCalls calls;

bool FindCalls() {
    platform::FindGLProc(calls.gen, "glGenProgramsARB");
    platform::FindGLProc(calls.remove, "glDeleteProgramsARB");
    platform::FindGLProc(calls.bind, "glBindProgramARB");
    platform::FindGLProc(calls.string, "glProgramStringARB");
    platform::FindGLProc(calls.attribs.attrib1f, "glVertexAttrib1fARB");
    platform::FindGLProc(calls.attribs.pointer, "glVertexAttribPointerARB");
    platform::FindGLProc(calls.attribs.enableArray, "glEnableVertexAttribArrayARB");
    platform::FindGLProc(calls.attribs.disableArray, "glDisableVertexAttribArrayARB");
    return calls.Complete();
}

}  // namespace

GLuint CompileVertexProgram(const char* text, const char* who) {
    if (!FindCalls()) {
        std::fprintf(stderr, "%s: the driver's vertex-program entry points are missing\n", who);
        return 0;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint program = 0;
    calls.gen(1, &program);
    calls.bind(GL_VERTEX_PROGRAM_ARB, program);
    calls.string(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(std::strlen(text)), text);
    GLint errorAt = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
    const bool rejected = errorAt != -1 || glGetError() != GL_NO_ERROR;
    calls.bind(GL_VERTEX_PROGRAM_ARB, 0);
    if (rejected) {
        const GLubyte* message = glGetString(GL_PROGRAM_ERROR_STRING_ARB);
        std::fprintf(stderr, "%s: the driver rejects our vertex program at %d (%s)\n", who, static_cast<int>(errorAt),
                     message ? reinterpret_cast<const char*>(message) : "no message");
        calls.remove(1, &program);
        return 0;
    }
    return program;
}

void UseVertexProgram(GLuint program) {
    if (program == 0) {
        glDisable(GL_VERTEX_PROGRAM_ARB);
        return;
    }
    calls.bind(GL_VERTEX_PROGRAM_ARB, program);
    glEnable(GL_VERTEX_PROGRAM_ARB);
}

void DeleteVertexProgram(GLuint program) {
    if (program != 0 && calls.remove) calls.remove(1, &program);
}

const VertexAttribCalls& VertexAttribs() { return calls.attribs; }

}  // namespace gl_layers
