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

// Frees the program and texture of bitmaps and pixel rectangles.
void ReleasePixelPass();

}  // namespace gl_layers
