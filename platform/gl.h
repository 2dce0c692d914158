// platform/gl.h — the one way the program reaches OpenGL and GLU.
//
// Every GL and GLU function the program calls goes through one table of entry points,
// platform::glCalls: the macros at the end of this file turn each call into a call through it.
// On the desktop the table starts out holding the driver's own functions; a layer that draws
// another way (our OpenGL 1.x layer over OpenGL ES 3.0 in gl_layers/) fills it with its own, and
// then also answers GetGLProcAddress. Nothing above this header knows which of them draws.
#pragma once

#ifndef GL_GLEXT_LEGACY
#define GL_GLEXT_LEGACY 1   // extension prototypes come from our own pointers, not the system's
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#undef GL_GLEXT_LEGACY
#include <GL/glext.h>

// Tokens of extensions that current headers no longer carry.
#ifndef GL_MODELVIEW0_EXT
#define GL_MODELVIEW0_EXT 0x1700
#endif
#ifndef GL_MODELVIEW1_EXT
#define GL_MODELVIEW1_EXT 0x850A
#endif
#ifndef GL_VERTEX_WEIGHTING_EXT
#define GL_VERTEX_WEIGHTING_EXT 0x8509
#endif
#ifndef GL_VERTEX_WEIGHT_ARRAY_EXT
#define GL_VERTEX_WEIGHT_ARRAY_EXT 0x850C
#endif
#ifndef GL_VERTEX_ARRAY_RANGE_NV
#define GL_VERTEX_ARRAY_RANGE_NV 0x851D
#endif
#ifndef GL_ALL_COMPLETED_NV
#define GL_ALL_COMPLETED_NV 0x84F2
#endif
#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

#ifndef APIENTRY
#define APIENTRY GLAPIENTRY
#endif

// The GL and GLU functions the program calls: X(return type, name, (parameters), (arguments)).
#define UNDERTOW_GL_CALLS(X) \
    X(void, glAlphaFunc, (GLenum func, GLclampf ref), (func, ref)) \
    X(void, glBegin, (GLenum mode), (mode)) \
    X(void, glBindTexture, (GLenum target, GLuint texture), (target, texture)) \
    X(void, glBitmap, (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte* bitmap), (width, height, xorig, yorig, xmove, ymove, bitmap)) \
    X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor)) \
    X(void, glCallList, (GLuint list), (list)) \
    X(void, glClear, (GLbitfield mask), (mask)) \
    X(void, glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha), (red, green, blue, alpha)) \
    X(void, glColor3f, (GLfloat red, GLfloat green, GLfloat blue), (red, green, blue)) \
    X(void, glColor4f, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha)) \
    X(void, glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer), (size, type, stride, pointer)) \
    X(void, glCullFace, (GLenum mode), (mode)) \
    X(void, glDeleteLists, (GLuint list, GLsizei range), (list, range)) \
    X(void, glDeleteTextures, (GLsizei n, const GLuint* textures), (n, textures)) \
    X(void, glDepthFunc, (GLenum func), (func)) \
    X(void, glDepthMask, (GLboolean flag), (flag)) \
    X(void, glDepthRange, (GLclampd nearValue, GLclampd farValue), (nearValue, farValue)) \
    X(void, glDisable, (GLenum cap), (cap)) \
    X(void, glDisableClientState, (GLenum array), (array)) \
    X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count)) \
    X(void, glDrawBuffer, (GLenum mode), (mode)) \
    X(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid* indices), (mode, count, type, indices)) \
    X(void, glDrawPixels, (GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels), (width, height, format, type, pixels)) \
    X(void, glEnable, (GLenum cap), (cap)) \
    X(void, glEnableClientState, (GLenum array), (array)) \
    X(void, glEnd, (void), ()) \
    X(void, glEndList, (void), ()) \
    X(void, glFinish, (void), ()) \
    X(void, glFlush, (void), ()) \
    X(void, glFogf, (GLenum pname, GLfloat param), (pname, param)) \
    X(void, glFogfv, (GLenum pname, const GLfloat* params), (pname, params)) \
    X(void, glFogi, (GLenum pname, GLint param), (pname, param)) \
    X(void, glFrontFace, (GLenum mode), (mode)) \
    X(GLuint, glGenLists, (GLsizei range), (range)) \
    X(void, glGenTextures, (GLsizei n, GLuint* textures), (n, textures)) \
    X(void, glGetDoublev, (GLenum pname, GLdouble* params), (pname, params)) \
    X(GLenum, glGetError, (void), ()) \
    X(void, glGetFloatv, (GLenum pname, GLfloat* params), (pname, params)) \
    X(void, glGetIntegerv, (GLenum pname, GLint* params), (pname, params)) \
    X(const GLubyte*, glGetString, (GLenum name), (name)) \
    X(void, glGetTexLevelParameteriv, (GLenum target, GLint level, GLenum pname, GLint* params), (target, level, pname, params)) \
    X(void, glGetTexParameteriv, (GLenum target, GLenum pname, GLint* params), (target, pname, params)) \
    X(GLboolean, glIsEnabled, (GLenum cap), (cap)) \
    X(GLboolean, glIsList, (GLuint list), (list)) \
    X(GLboolean, glIsTexture, (GLuint texture), (texture)) \
    X(void, glLightf, (GLenum light, GLenum pname, GLfloat param), (light, pname, param)) \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params), (light, pname, params)) \
    X(void, glLoadIdentity, (void), ()) \
    X(void, glLoadMatrixf, (const GLfloat* m), (m)) \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params), (face, pname, params)) \
    X(void, glMatrixMode, (GLenum mode), (mode)) \
    X(void, glNewList, (GLuint list, GLenum mode), (list, mode)) \
    X(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz)) \
    X(void, glNormalPointer, (GLenum type, GLsizei stride, const GLvoid* pointer), (type, stride, pointer)) \
    X(void, glOrtho, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearValue, GLdouble farValue), (left, right, bottom, top, nearValue, farValue)) \
    X(void, glPixelStorei, (GLenum pname, GLint param), (pname, param)) \
    X(void, glPixelZoom, (GLfloat xfactor, GLfloat yfactor), (xfactor, yfactor)) \
    X(void, glPopAttrib, (void), ()) \
    X(void, glPopClientAttrib, (void), ()) \
    X(void, glPopMatrix, (void), ()) \
    X(void, glPushAttrib, (GLbitfield mask), (mask)) \
    X(void, glPushClientAttrib, (GLbitfield mask), (mask)) \
    X(void, glPushMatrix, (void), ()) \
    X(void, glRasterPos2i, (GLint x, GLint y), (x, y)) \
    X(void, glReadBuffer, (GLenum mode), (mode)) \
    X(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels), (x, y, width, height, format, type, pixels)) \
    X(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z)) \
    X(void, glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z)) \
    X(void, glScissor, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height)) \
    X(void, glShadeModel, (GLenum mode), (mode)) \
    X(void, glTexCoord1f, (GLfloat s), (s)) \
    X(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t)) \
    X(void, glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer), (size, type, stride, pointer)) \
    X(void, glTexEnvfv, (GLenum target, GLenum pname, const GLfloat* params), (target, pname, params)) \
    X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param)) \
    X(void, glTexGeni, (GLenum coord, GLenum pname, GLint param), (coord, pname, param)) \
    X(void, glTexImage1D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLint border, GLenum format, GLenum type, const GLvoid* pixels), (target, level, internalFormat, width, border, format, type, pixels)) \
    X(void, glTexImage2D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid* pixels), (target, level, internalFormat, width, height, border, format, type, pixels)) \
    X(void, glTexParameterf, (GLenum target, GLenum pname, GLfloat param), (target, pname, param)) \
    X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param)) \
    X(void, glTexSubImage1D, (GLenum target, GLint level, GLint xoffset, GLsizei width, GLenum format, GLenum type, const GLvoid* pixels), (target, level, xoffset, width, format, type, pixels)) \
    X(void, glTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels), (target, level, xoffset, yoffset, width, height, format, type, pixels)) \
    X(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z)) \
    X(void, glVertex2f, (GLfloat x, GLfloat y), (x, y)) \
    X(void, glVertex2i, (GLint x, GLint y), (x, y)) \
    X(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z)) \
    X(void, glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer), (size, type, stride, pointer)) \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height)) \
    X(GLint, gluBuild2DMipmaps, (GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* data), (target, internalFormat, width, height, format, type, data)) \
    X(void, gluLookAt, (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ), (eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ)) \
    X(GLUquadric*, gluNewQuadric, (void), ()) \
    X(void, gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar), (fovy, aspect, zNear, zFar)) \
    X(void, gluQuadricNormals, (GLUquadric* quad, GLenum normal), (quad, normal)) \
    X(void, gluQuadricOrientation, (GLUquadric* quad, GLenum orientation), (quad, orientation)) \
    X(void, gluQuadricTexture, (GLUquadric* quad, GLboolean texture), (quad, texture)) \
    X(void, gluSphere, (GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks), (quad, radius, slices, stacks)) \
    X(GLint, gluUnProject, (GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj, const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ), (winX, winY, winZ, model, proj, view, objX, objY, objZ))

namespace platform {

// One pointer per function of UNDERTOW_GL_CALLS, plus what a layer adds around them.
struct GLCalls {
#define UNDERTOW_GL_MEMBER(type, name, parameters, arguments) type(APIENTRY* name) parameters = nullptr;
    UNDERTOW_GL_CALLS(UNDERTOW_GL_MEMBER)
#undef UNDERTOW_GL_MEMBER
    // A layer's own entry point by name (extensions, framebuffers), asked before the driver's;
    // null on the driver's table.
    void* (*lookup)(const char* name) = nullptr;
    // Called before the window shows a frame, with the window's drawable size (a layer drawing
    // elsewhere copies its picture into the window there); null on the driver's table.
    void (*present)(int drawableWidth, int drawableHeight) = nullptr;
    // Called before the context is deleted, with it still current: a layer frees what it made.
    // The table then holds the driver's functions again. Null on the driver's table.
    void (*release)() = nullptr;
};

extern GLCalls glCalls;

// What the program's GLUquadric pointers point to, on every path: the settings a quadric draws
// with, and GLU's own quadric where the driver's GLU draws it (made when first drawn). A layer
// that fills the table draws the quadrics made before it from the same settings.
struct Quadric {
    GLUquadric* glu = nullptr;
    GLenum normals = GLU_SMOOTH;
    GLboolean texture = GL_FALSE;
    GLenum orientation = GLU_OUTSIDE;
};

inline Quadric* QuadricOf(GLUquadric* quadric) { return reinterpret_cast<Quadric*>(quadric); }

// Fills the table with the driver's own functions, as it starts out; where there is no desktop GL
// to call (the browser) a layer must fill it instead.
void UseDriverGL();

// True while the table holds the driver's own functions.
bool DriverGLInUse();

}  // namespace platform

#define glAlphaFunc(func, ref) platform::glCalls.glAlphaFunc(func, ref)
#define glBegin(mode) platform::glCalls.glBegin(mode)
#define glBindTexture(target, texture) platform::glCalls.glBindTexture(target, texture)
#define glBitmap(width, height, xorig, yorig, xmove, ymove, bitmap) platform::glCalls.glBitmap(width, height, xorig, yorig, xmove, ymove, bitmap)
#define glBlendFunc(sfactor, dfactor) platform::glCalls.glBlendFunc(sfactor, dfactor)
#define glCallList(list) platform::glCalls.glCallList(list)
#define glClear(mask) platform::glCalls.glClear(mask)
#define glClearColor(red, green, blue, alpha) platform::glCalls.glClearColor(red, green, blue, alpha)
#define glColor3f(red, green, blue) platform::glCalls.glColor3f(red, green, blue)
#define glColor4f(red, green, blue, alpha) platform::glCalls.glColor4f(red, green, blue, alpha)
#define glColorPointer(size, type, stride, pointer) platform::glCalls.glColorPointer(size, type, stride, pointer)
#define glCullFace(mode) platform::glCalls.glCullFace(mode)
#define glDeleteLists(list, range) platform::glCalls.glDeleteLists(list, range)
#define glDeleteTextures(n, textures) platform::glCalls.glDeleteTextures(n, textures)
#define glDepthFunc(func) platform::glCalls.glDepthFunc(func)
#define glDepthMask(flag) platform::glCalls.glDepthMask(flag)
#define glDepthRange(nearValue, farValue) platform::glCalls.glDepthRange(nearValue, farValue)
#define glDisable(cap) platform::glCalls.glDisable(cap)
#define glDisableClientState(array) platform::glCalls.glDisableClientState(array)
#define glDrawArrays(mode, first, count) platform::glCalls.glDrawArrays(mode, first, count)
#define glDrawBuffer(mode) platform::glCalls.glDrawBuffer(mode)
#define glDrawElements(mode, count, type, indices) platform::glCalls.glDrawElements(mode, count, type, indices)
#define glDrawPixels(width, height, format, type, pixels) platform::glCalls.glDrawPixels(width, height, format, type, pixels)
#define glEnable(cap) platform::glCalls.glEnable(cap)
#define glEnableClientState(array) platform::glCalls.glEnableClientState(array)
#define glEnd() platform::glCalls.glEnd()
#define glEndList() platform::glCalls.glEndList()
#define glFinish() platform::glCalls.glFinish()
#define glFlush() platform::glCalls.glFlush()
#define glFogf(pname, param) platform::glCalls.glFogf(pname, param)
#define glFogfv(pname, params) platform::glCalls.glFogfv(pname, params)
#define glFogi(pname, param) platform::glCalls.glFogi(pname, param)
#define glFrontFace(mode) platform::glCalls.glFrontFace(mode)
#define glGenLists(range) platform::glCalls.glGenLists(range)
#define glGenTextures(n, textures) platform::glCalls.glGenTextures(n, textures)
#define glGetDoublev(pname, params) platform::glCalls.glGetDoublev(pname, params)
#define glGetError() platform::glCalls.glGetError()
#define glGetFloatv(pname, params) platform::glCalls.glGetFloatv(pname, params)
#define glGetIntegerv(pname, params) platform::glCalls.glGetIntegerv(pname, params)
#define glGetString(name) platform::glCalls.glGetString(name)
#define glGetTexLevelParameteriv(target, level, pname, params) platform::glCalls.glGetTexLevelParameteriv(target, level, pname, params)
#define glGetTexParameteriv(target, pname, params) platform::glCalls.glGetTexParameteriv(target, pname, params)
#define glIsEnabled(cap) platform::glCalls.glIsEnabled(cap)
#define glIsList(list) platform::glCalls.glIsList(list)
#define glIsTexture(texture) platform::glCalls.glIsTexture(texture)
#define glLightf(light, pname, param) platform::glCalls.glLightf(light, pname, param)
#define glLightfv(light, pname, params) platform::glCalls.glLightfv(light, pname, params)
#define glLoadIdentity() platform::glCalls.glLoadIdentity()
#define glLoadMatrixf(m) platform::glCalls.glLoadMatrixf(m)
#define glMaterialfv(face, pname, params) platform::glCalls.glMaterialfv(face, pname, params)
#define glMatrixMode(mode) platform::glCalls.glMatrixMode(mode)
#define glNewList(list, mode) platform::glCalls.glNewList(list, mode)
#define glNormal3f(nx, ny, nz) platform::glCalls.glNormal3f(nx, ny, nz)
#define glNormalPointer(type, stride, pointer) platform::glCalls.glNormalPointer(type, stride, pointer)
#define glOrtho(left, right, bottom, top, nearValue, farValue) platform::glCalls.glOrtho(left, right, bottom, top, nearValue, farValue)
#define glPixelStorei(pname, param) platform::glCalls.glPixelStorei(pname, param)
#define glPixelZoom(xfactor, yfactor) platform::glCalls.glPixelZoom(xfactor, yfactor)
#define glPopAttrib() platform::glCalls.glPopAttrib()
#define glPopClientAttrib() platform::glCalls.glPopClientAttrib()
#define glPopMatrix() platform::glCalls.glPopMatrix()
#define glPushAttrib(mask) platform::glCalls.glPushAttrib(mask)
#define glPushClientAttrib(mask) platform::glCalls.glPushClientAttrib(mask)
#define glPushMatrix() platform::glCalls.glPushMatrix()
#define glRasterPos2i(x, y) platform::glCalls.glRasterPos2i(x, y)
#define glReadBuffer(mode) platform::glCalls.glReadBuffer(mode)
#define glReadPixels(x, y, width, height, format, type, pixels) platform::glCalls.glReadPixels(x, y, width, height, format, type, pixels)
#define glRotatef(angle, x, y, z) platform::glCalls.glRotatef(angle, x, y, z)
#define glScalef(x, y, z) platform::glCalls.glScalef(x, y, z)
#define glScissor(x, y, width, height) platform::glCalls.glScissor(x, y, width, height)
#define glShadeModel(mode) platform::glCalls.glShadeModel(mode)
#define glTexCoord1f(s) platform::glCalls.glTexCoord1f(s)
#define glTexCoord2f(s, t) platform::glCalls.glTexCoord2f(s, t)
#define glTexCoordPointer(size, type, stride, pointer) platform::glCalls.glTexCoordPointer(size, type, stride, pointer)
#define glTexEnvfv(target, pname, params) platform::glCalls.glTexEnvfv(target, pname, params)
#define glTexEnvi(target, pname, param) platform::glCalls.glTexEnvi(target, pname, param)
#define glTexGeni(coord, pname, param) platform::glCalls.glTexGeni(coord, pname, param)
#define glTexImage1D(target, level, internalFormat, width, border, format, type, pixels) platform::glCalls.glTexImage1D(target, level, internalFormat, width, border, format, type, pixels)
#define glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels) platform::glCalls.glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels)
#define glTexParameterf(target, pname, param) platform::glCalls.glTexParameterf(target, pname, param)
#define glTexParameteri(target, pname, param) platform::glCalls.glTexParameteri(target, pname, param)
#define glTexSubImage1D(target, level, xoffset, width, format, type, pixels) platform::glCalls.glTexSubImage1D(target, level, xoffset, width, format, type, pixels)
#define glTexSubImage2D(target, level, xoffset, yoffset, width, height, format, type, pixels) platform::glCalls.glTexSubImage2D(target, level, xoffset, yoffset, width, height, format, type, pixels)
#define glTranslatef(x, y, z) platform::glCalls.glTranslatef(x, y, z)
#define glVertex2f(x, y) platform::glCalls.glVertex2f(x, y)
#define glVertex2i(x, y) platform::glCalls.glVertex2i(x, y)
#define glVertex3f(x, y, z) platform::glCalls.glVertex3f(x, y, z)
#define glVertexPointer(size, type, stride, pointer) platform::glCalls.glVertexPointer(size, type, stride, pointer)
#define glViewport(x, y, width, height) platform::glCalls.glViewport(x, y, width, height)
#define gluBuild2DMipmaps(target, internalFormat, width, height, format, type, data) platform::glCalls.gluBuild2DMipmaps(target, internalFormat, width, height, format, type, data)
#define gluLookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ) platform::glCalls.gluLookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ)
#define gluNewQuadric() platform::glCalls.gluNewQuadric()
#define gluPerspective(fovy, aspect, zNear, zFar) platform::glCalls.gluPerspective(fovy, aspect, zNear, zFar)
#define gluQuadricNormals(quad, normal) platform::glCalls.gluQuadricNormals(quad, normal)
#define gluQuadricOrientation(quad, orientation) platform::glCalls.gluQuadricOrientation(quad, orientation)
#define gluQuadricTexture(quad, texture) platform::glCalls.gluQuadricTexture(quad, texture)
#define gluSphere(quad, radius, slices, stacks) platform::glCalls.gluSphere(quad, radius, slices, stacks)
#define gluUnProject(winX, winY, winZ, model, proj, view, objX, objY, objZ) platform::glCalls.gluUnProject(winX, winY, winZ, model, proj, view, objX, objY, objZ)

// Every primitive the program draws passes the drawing gate.
#include "platform/draw_gate.h"
