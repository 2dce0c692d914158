// gl_layers/framebuffers.h — the window's framebuffer as the layer's own, framebuffer and
// renderbuffer objects, and the depth under a pixel.
//
// The program's framebuffer 0 is a framebuffer of the layer's (colour in a renderbuffer, depth
// in a texture) that the swap copies into the window: WebGL cannot read depth back, so the
// depth a frame leaves must be somewhere a shader can sample it. Single-sampled depth
// renderbuffers the program makes are textures for the same reason.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

// Makes the window's stand-in at the window's size, binds it; false when ES refuses it.
bool MakeWindowFramebuffer(int width, int height);
void ReleaseFramebuffers();

// Copies the stand-in into the window (at the drawable's size), before the swap.
void PresentWindow(int drawableWidth, int drawableHeight);

// The framebuffer the program has bound for drawing or reading (0: the window's).
GLuint ProgramFramebuffer(GLenum target);

// Waits for the drawing queued so far by reading one pixel of the framebuffer drawn into (of the
// window's stand-in where that one has no single-sampled colour to read).
void ReadBackOnePixel();

// The depth in [0, 1] at pixel (x, y) of the framebuffer bound for reading; 1 when it has none.
float ReadDepth(int x, int y);

void APIENTRY GenFramebuffers(GLsizei n, GLuint* names);
void APIENTRY DeleteFramebuffers(GLsizei n, const GLuint* names);
void APIENTRY BindFramebuffer(GLenum target, GLuint name);
GLenum APIENTRY CheckFramebufferStatus(GLenum target);
void APIENTRY FramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint name);
void APIENTRY GenRenderbuffers(GLsizei n, GLuint* names);
void APIENTRY DeleteRenderbuffers(GLsizei n, const GLuint* names);
void APIENTRY BindRenderbuffer(GLenum target, GLuint name);
void APIENTRY RenderbufferStorageMultisample(GLenum target, GLsizei samples, GLenum format, GLsizei width,
                                             GLsizei height);
void APIENTRY RenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height);
void APIENTRY BlitFramebuffer(GLint x0, GLint y0, GLint x1, GLint y1, GLint dx0, GLint dy0, GLint dx1, GLint dy1,
                              GLbitfield mask, GLenum filter);
void APIENTRY DrawBuffer(GLenum mode);
void APIENTRY ReadBuffer(GLenum mode);

}  // namespace gl_layers
