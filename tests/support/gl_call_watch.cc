// tests/support/gl_call_watch.cc — a library preloaded into the program by a test: it stands in
// front of the GL calls a program makes when it tears down, and says on stderr when SDL's GL
// context is deleted and every such call made after that.
//
// It is a .cc file so that the test program's own source list (*.cpp) leaves it out.
#include <dlfcn.h>
#include <unistd.h>

#include <GL/gl.h>

#include <cstring>

namespace {

bool contextGone = false;

void Say(const char* text) {
    const ssize_t ignored = ::write(2, text, std::strlen(text));
    (void)ignored;
}

// Reports a call made with no context left to receive it.
void Watch(const char* name) {
    if (!contextGone) return;
    Say("gl-call-watch: ");
    Say(name);
    Say(" after the context was deleted\n");
}

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void SDL_GL_DeleteContext(void* context) {
    static const auto next = Next<void (*)(void*)>("SDL_GL_DeleteContext");
    next(context);
    contextGone = true;
    Say("gl-call-watch: context deleted\n");
}

void glDeleteTextures(GLsizei n, const GLuint* names) {
    Watch("glDeleteTextures");
    static const auto next = Next<void (*)(GLsizei, const GLuint*)>("glDeleteTextures");
    next(n, names);
}

void glDeleteLists(GLuint list, GLsizei range) {
    Watch("glDeleteLists");
    static const auto next = Next<void (*)(GLuint, GLsizei)>("glDeleteLists");
    next(list, range);
}

GLboolean glIsList(GLuint list) {
    Watch("glIsList");
    static const auto next = Next<GLboolean (*)(GLuint)>("glIsList");
    return next(list);
}

GLboolean glIsTexture(GLuint texture) {
    Watch("glIsTexture");
    static const auto next = Next<GLboolean (*)(GLuint)>("glIsTexture");
    return next(texture);
}

const GLubyte* glGetString(GLenum name) {
    Watch("glGetString");
    static const auto next = Next<const GLubyte* (*)(GLenum)>("glGetString");
    return next(name);
}

void glBindTexture(GLenum target, GLuint texture) {
    Watch("glBindTexture");
    static const auto next = Next<void (*)(GLenum, GLuint)>("glBindTexture");
    next(target, texture);
}

GLenum glGetError() {
    Watch("glGetError");
    static const auto next = Next<GLenum (*)()>("glGetError");
    return next();
}

}  // extern "C"
