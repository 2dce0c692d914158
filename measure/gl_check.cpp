// measure/gl_check.cpp — glGetError at checkpoints, and the KHR_debug callback between them.
#include "measure/gl_check.h"

#include <cstdio>

#include "platform/window.h"

namespace {

using DebugMessageCallback = void(APIENTRY*)(GLDEBUGPROC, const void*);

void APIENTRY OnDebug(GLenum /*source*/, GLenum type, GLuint /*id*/, GLenum severity, GLsizei /*length*/,
                      const GLchar* message, const void* user) {
    static_cast<GlErrorCheck*>(const_cast<void*>(user))->OnDebugMessage(type, severity, message);
}

}  // namespace

std::string GlErrorName(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
        case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
        case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
        case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
        case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
        default: break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "GL error 0x%04X", error);
    return text;
}

void GlErrorCheck::Begin(bool debugOutputOffered) {
    while (glGetError() != GL_NO_ERROR) {
    }
    DebugMessageCallback callback = nullptr;
    if (debugOutputOffered) platform::FindGLProc(callback, "glDebugMessageCallback");
    if (!callback) return;
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);   // messages arrive inside the call that caused them
    callback(OnDebug, this);
    debugOutput = glGetError() == GL_NO_ERROR;
}

void GlErrorCheck::End() {
    if (!debugOutput) return;
    DebugMessageCallback callback = nullptr;
    platform::FindGLProc(callback, "glDebugMessageCallback");
    if (callback) callback(nullptr, nullptr);
    glDisable(GL_DEBUG_OUTPUT);
    debugOutput = false;
}

void GlErrorCheck::OnDebugMessage(GLenum type, GLenum /*severity*/, const char* message) {
    if (type != GL_DEBUG_TYPE_ERROR) return;   // performance hints and the like are not faults
    if (pendingDebugCount++ == 0) pendingDebug = message ? message : "";
}

bool GlErrorCheck::Check(const char* where, float demoTime) {
    bool clean = true;
    std::string codes;
    for (int guard = 0; guard < 32; ++guard) {   // a lost context can report errors for ever
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) break;
        codes += (codes.empty() ? "" : ", ") + GlErrorName(error);
    }
    if (!codes.empty() || pendingDebugCount > 0) {
        std::string what = codes.empty() ? "an error" : codes;
        if (pendingDebugCount > 0) what += " (driver: " + pendingDebug + ")";
        Record(what, where, demoTime);
        clean = false;
    }
    pendingDebug.clear();
    pendingDebugCount = 0;
    return clean;
}

void GlErrorCheck::Record(const std::string& what, const char* where, float demoTime) {
    if (errorCount++ > 0) return;
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", static_cast<double>(demoTime));
    firstError = what + " in " + where + " at " + time;
    std::fprintf(stderr, "undertow: GL error %s\n", firstError.c_str());
}
