// gl_layers/pixels.h — raster position, bitmaps, pixel rectangles, read-back and clears.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY RasterPos2i(GLint x, GLint y);
void APIENTRY Bitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
                     const GLubyte* bits);
void APIENTRY DrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels);
void APIENTRY ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels);
void APIENTRY Clear(GLbitfield mask);
void APIENTRY Finish();
void APIENTRY Flush();

// Makes glFinish wait for the drawing by reading a pixel back where the context's own glFinish
// returns before the drawing is done (WebGL's: the browser draws in another process, and its
// finish waits for nothing), and by the context's glFinish elsewhere. `esVersion`: the
// context's GL_VERSION.
void ChooseFinish(const char* esVersion);

// Frees the program and texture of bitmaps and pixel rectangles.
void ReleasePixelPass();

}  // namespace gl_layers
