// capture/frame_readback.cpp — pixel-buffer read-back with a direct fallback.
#include "capture/frame_readback.h"

#include <cstring>

#include "platform/gl.h"
#include "platform/picture_target.h"
#include "platform/window.h"

namespace {

using GenBuffers = void (APIENTRY*)(GLsizei, GLuint*);
using DeleteBuffers = void (APIENTRY*)(GLsizei, const GLuint*);
using BindBuffer = void (APIENTRY*)(GLenum, GLuint);
using BufferData = void (APIENTRY*)(GLenum, GLsizeiptr, const void*, GLenum);
using MapBuffer = void* (APIENTRY*)(GLenum, GLenum);
using UnmapBuffer = GLboolean (APIENTRY*)(GLenum);

struct BufferCalls {
    GenBuffers gen = nullptr;
    DeleteBuffers remove = nullptr;
    BindBuffer bind = nullptr;
    BufferData data = nullptr;
    MapBuffer map = nullptr;
    UnmapBuffer unmap = nullptr;
    bool Complete() const { return gen && remove && bind && data && map && unmap; }
} calls;

}  // namespace

FrameReadback::~FrameReadback() = default;

void FrameReadback::Begin(int pictureWidth, int pictureHeight) {
    width = pictureWidth;
    height = pictureHeight;
    picture.assign(Bytes(), 0);
    platform::FindGLProc(calls.gen, "glGenBuffers");
    platform::FindGLProc(calls.remove, "glDeleteBuffers");
    platform::FindGLProc(calls.bind, "glBindBuffer");
    platform::FindGLProc(calls.data, "glBufferData");
    platform::FindGLProc(calls.map, "glMapBuffer");
    platform::FindGLProc(calls.unmap, "glUnmapBuffer");
    if (!calls.Complete()) return;
    while (glGetError() != GL_NO_ERROR) {
    }
    calls.gen(2, buffers);
    for (GLuint buffer : buffers) {
        calls.bind(GL_PIXEL_PACK_BUFFER, buffer);
        calls.data(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(Bytes()), nullptr, GL_STREAM_READ);
    }
    calls.bind(GL_PIXEL_PACK_BUFFER, 0);
    if (glGetError() != GL_NO_ERROR) End();
}

void FrameReadback::Grab() {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const platform::PixelRect source = platform::BeginPictureRead();
    if (grabbedThisStep < 0) {
        grabbedThisStep = nextBuffer;
        nextBuffer = 1 - nextBuffer;
    }
    if (!UsesPixelBuffers()) {
        staging[grabbedThisStep].resize(Bytes());
        glReadPixels(source.x, source.y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     staging[grabbedThisStep].data());
        platform::EndPictureRead();
        return;
    }
    calls.bind(GL_PIXEL_PACK_BUFFER, buffers[grabbedThisStep]);
    glReadPixels(source.x, source.y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    calls.bind(GL_PIXEL_PACK_BUFFER, 0);
    platform::EndPictureRead();
}

void FrameReadback::Resolve() {
    if (pendingBuffer < 0) return;
    if (!UsesPixelBuffers()) {
        std::memcpy(picture.data(), staging[pendingBuffer].data(), Bytes());
        pendingBuffer = -1;
        return;
    }
    calls.bind(GL_PIXEL_PACK_BUFFER, buffers[pendingBuffer]);
    const void* mapped = calls.map(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (mapped) std::memcpy(picture.data(), mapped, Bytes());
    calls.unmap(GL_PIXEL_PACK_BUFFER);
    calls.bind(GL_PIXEL_PACK_BUFFER, 0);
    pendingBuffer = -1;
}

const std::uint8_t* FrameReadback::EndStep() {
    const bool hadStep = stepPending;
    Resolve();   // the step before: its picture is now in `picture`
    const std::uint8_t* result = hadStep ? picture.data() : nullptr;
    pendingBuffer = grabbedThisStep;
    grabbedThisStep = -1;
    stepPending = true;
    return result;
}

const std::uint8_t* FrameReadback::Finish() {
    if (!stepPending) return nullptr;
    Resolve();
    stepPending = false;
    return picture.data();
}

void FrameReadback::End() {
    if (buffers[0] != 0 && calls.remove) calls.remove(2, buffers);
    buffers[0] = buffers[1] = 0;
}
