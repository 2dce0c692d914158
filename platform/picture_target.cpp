// platform/picture_target.cpp — offscreen framebuffers, the blit into the window, read-back.
#include "platform/picture_target.h"

#include <algorithm>
#include <cstdio>

#include "platform/gl.h"
#include "platform/window.h"

namespace platform {
namespace {

struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkStatus = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC attach = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC storage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit = nullptr;
    bool Complete() const {
        return genFramebuffers && deleteFramebuffers && bindFramebuffer && checkStatus && attach &&
               genRenderbuffers && deleteRenderbuffers && bindRenderbuffer && storage && blit;
    }
};

// One framebuffer with a colour and a depth renderbuffer (either may be absent).
struct Target {
    GLuint framebuffer = 0;
    GLuint color = 0;
    GLuint depth = 0;
};

FramebufferCalls gl;
bool looked = false;
int scale = 1;
int samples = 0;
Target drawTarget;      // what frames are drawn into (multisampled when asked)
Target resolveTarget;   // the multisampled picture resolved, for reading and presenting
Target depthPixel;      // one depth pixel resolved, for the flare's read
bool offscreen = false;
bool framebuffersUsable = false;
PixelRect viewport{0, 0, 640, 480};
int lastDrawableWidth = -1, lastDrawableHeight = -1;
bool lastOffscreen = false;

int Width() { return 640 * scale; }
int Height() { return 480 * scale; }

void LookUp() {
    if (looked) return;
    looked = true;
    FindGLProc(gl.genFramebuffers, "glGenFramebuffers");
    FindGLProc(gl.deleteFramebuffers, "glDeleteFramebuffers");
    FindGLProc(gl.bindFramebuffer, "glBindFramebuffer");
    FindGLProc(gl.checkStatus, "glCheckFramebufferStatus");
    FindGLProc(gl.attach, "glFramebufferRenderbuffer");
    FindGLProc(gl.genRenderbuffers, "glGenRenderbuffers");
    FindGLProc(gl.deleteRenderbuffers, "glDeleteRenderbuffers");
    FindGLProc(gl.bindRenderbuffer, "glBindRenderbuffer");
    FindGLProc(gl.storage, "glRenderbufferStorageMultisample");
    FindGLProc(gl.blit, "glBlitFramebuffer");
    framebuffersUsable = gl.Complete();
}

void Free(Target& target) {
    if (target.framebuffer) gl.deleteFramebuffers(1, &target.framebuffer);
    if (target.color) gl.deleteRenderbuffers(1, &target.color);
    if (target.depth) gl.deleteRenderbuffers(1, &target.depth);
    target = Target{};
}

GLuint Renderbuffer(GLenum format, int sampleCount, int width, int height, GLenum attachment) {
    GLuint name = 0;
    gl.genRenderbuffers(1, &name);
    gl.bindRenderbuffer(GL_RENDERBUFFER, name);
    gl.storage(GL_RENDERBUFFER, sampleCount, format, width, height);
    gl.attach(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, name);
    return name;
}

bool Make(Target& target, int sampleCount, int width, int height, bool color, bool depth) {
    while (glGetError() != GL_NO_ERROR) {
    }
    gl.genFramebuffers(1, &target.framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    if (color) target.color = Renderbuffer(GL_RGBA8, sampleCount, width, height, GL_COLOR_ATTACHMENT0);
    if (depth) target.depth = Renderbuffer(GL_DEPTH24_STENCIL8, sampleCount, width, height, GL_DEPTH_STENCIL_ATTACHMENT);
    if (!color) {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    const bool ok = gl.checkStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE && glGetError() == GL_NO_ERROR;
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!ok) Free(target);
    return ok;
}

bool MakeTargets() {
    if (drawTarget.framebuffer) return true;
    if (!Make(drawTarget, samples, Width(), Height(), true, true)) return false;
    if (samples > 0 && (!Make(resolveTarget, 0, Width(), Height(), true, false) ||
                        !Make(depthPixel, 0, 1, 1, false, true))) {
        Free(drawTarget);
        Free(resolveTarget);
        return false;
    }
    return true;
}

void FreeTargets() {
    if (!framebuffersUsable) return;
    Free(drawTarget);
    Free(resolveTarget);
    Free(depthPixel);
}

void BindDrawing() {
    if (framebuffersUsable) gl.bindFramebuffer(GL_FRAMEBUFFER, offscreen ? drawTarget.framebuffer : 0);
}

// Copies the multisampled picture into the single-sampled one.
void Resolve() {
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, drawTarget.framebuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveTarget.framebuffer);
    gl.blit(0, 0, Width(), Height(), 0, 0, Width(), Height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

GLuint FinishedPicture() {
    if (samples == 0) return drawTarget.framebuffer;
    Resolve();
    return resolveTarget.framebuffer;
}

}  // namespace

bool ConfigurePicture(int wantedScale, int wantedSamples, int drawableWidth, int drawableHeight, std::string& note) {
    LookUp();
    FreeTargets();
    offscreen = false;
    BindDrawing();
    scale = std::clamp(wantedScale, 1, 4);
    samples = std::max(wantedSamples, 0);
    bool ok = true;
    if (!framebuffersUsable) {
        if (samples > 0) note = "the driver has no framebuffer objects; no multisampling";
        samples = 0;
        if (scale > 1 && (drawableWidth != Width() || drawableHeight != Height())) {
            note = "the driver has no framebuffer objects; the picture is drawn at the window's size";
            scale = 1;
        }
        ok = note.empty();
    } else if (samples > 0) {
        GLint most = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &most);
        if (samples > most) {
            note = "the driver offers at most " + std::to_string(most) + " samples";
            samples = most;
            ok = false;
        }
    }
    lastDrawableWidth = lastDrawableHeight = -1;
    PrepareFrame(drawableWidth, drawableHeight);
    if (samples > 0 && !offscreen) {
        note = "the driver cannot make a multisampled picture";
        samples = 0;
        ok = false;
        lastDrawableWidth = -1;
        PrepareFrame(drawableWidth, drawableHeight);
    }
    return ok;
}

int PictureScale() { return scale; }
int PictureWidth() { return Width(); }
int PictureHeight() { return Height(); }
int PictureSamples() { return samples; }
bool PictureOffscreen() { return offscreen; }
PixelRect PictureViewport() { return viewport; }

void PrepareFrame(int drawableWidth, int drawableHeight) {
    LookUp();
    const bool sameSize = drawableWidth == Width() && drawableHeight == Height();
    bool wanted = framebuffersUsable && (samples > 0 || !sameSize);
    if (wanted && !MakeTargets()) {
        // The driver refused this size or format: draw into the window from now on.
        std::fprintf(stderr, "undertow: the driver cannot make a %dx%d picture off screen; drawing into the window\n",
                     Width(), Height());
        framebuffersUsable = false;
        wanted = false;
    }
    offscreen = wanted;
    BindDrawing();
    if (drawableWidth == lastDrawableWidth && drawableHeight == lastDrawableHeight && offscreen == lastOffscreen) return;
    lastDrawableWidth = drawableWidth;
    lastDrawableHeight = drawableHeight;
    lastOffscreen = offscreen;
    if (offscreen || sameSize) {
        viewport = PixelRect{0, 0, Width(), Height()};
    } else {
        viewport = FitPicture(drawableWidth, drawableHeight, Width(), Height());
    }
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
}

void PresentPicture(int drawableWidth, int drawableHeight) {
    if (!offscreen) return;
    const bool scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    const GLuint source = FinishedPicture();
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, source);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    GLfloat clearColor[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    const PixelRect rect = FitPicture(drawableWidth, drawableHeight, Width(), Height());
    const bool oneToOne = rect.width == Width() && rect.height == Height();
    gl.blit(0, 0, Width(), Height(), rect.x, rect.y, rect.x + rect.width, rect.y + rect.height, GL_COLOR_BUFFER_BIT,
            oneToOne ? GL_NEAREST : GL_LINEAR);
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

PixelRect BeginPictureRead(bool front) {
    if (offscreen) {
        gl.bindFramebuffer(GL_READ_FRAMEBUFFER, FinishedPicture());
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        return PixelRect{0, 0, Width(), Height()};
    }
    if (framebuffersUsable) gl.bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(front ? GL_FRONT : GL_BACK);
    return PixelRect{viewport.x, viewport.y, Width(), Height()};
}

void EndPictureRead() {
    if (!offscreen) glReadBuffer(GL_BACK);
    BindDrawing();
}

float ReadPictureDepth(int x, int y) {
    GLfloat depth = 1.0f;
    if (offscreen && samples > 0) {
        gl.bindFramebuffer(GL_READ_FRAMEBUFFER, drawTarget.framebuffer);
        gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, depthPixel.framebuffer);
        gl.blit(x, y, x + 1, y + 1, 0, 0, 1, 1, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        gl.bindFramebuffer(GL_READ_FRAMEBUFFER, depthPixel.framebuffer);
        glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        BindDrawing();
        return depth;
    }
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

void ReleasePicture() {
    FreeTargets();
    looked = false;   // a later context looks its entry points up again
    offscreen = false;
    BindDrawing();
    scale = 1;
    samples = 0;
    lastDrawableWidth = lastDrawableHeight = -1;
    viewport = PixelRect{0, 0, 640, 480};
}

}  // namespace platform
