// platform/draw_gate.h — a switch that lets the demo live through frames without drawing them.
//
// With the gate shut, the calls that produce pixels (primitives, display lists, clears, pixel
// rectangles, GLU spheres) do nothing, while every state change, matrix, upload and query
// still reaches GL. A frame played with the gate shut leaves the animation state, the random
// sequence and the GL state as the same frame drawn would, at a fraction of the cost. This
// header is included by platform/gl.h after its entry-point table; the macros at its end route
// the program's calls through the gate, and the gate calls the table.
#pragma once

namespace platform {

// Whether primitives reach GL (true unless shut).
extern bool drawingOn;

void SetDrawing(bool on);
inline bool Drawing() { return drawingOn; }

// Lets primitives through for its lifetime when `allow` is set, even with the gate shut.
class DrawingAllowed {
public:
    explicit DrawingAllowed(bool allow = true) : before(drawingOn) { drawingOn = drawingOn || allow; }
    ~DrawingAllowed() { drawingOn = before; }
    DrawingAllowed(const DrawingAllowed&) = delete;
    DrawingAllowed& operator=(const DrawingAllowed&) = delete;

private:
    bool before;
};

}  // namespace platform

inline void GatedBegin(GLenum mode) {
    if (platform::drawingOn) (platform::glCalls.glBegin)(mode);
}
inline void GatedEnd() {
    if (platform::drawingOn) (platform::glCalls.glEnd)();
}
inline void GatedVertex2f(GLfloat x, GLfloat y) {
    if (platform::drawingOn) (platform::glCalls.glVertex2f)(x, y);
}
inline void GatedVertex2i(GLint x, GLint y) {
    if (platform::drawingOn) (platform::glCalls.glVertex2i)(x, y);
}
inline void GatedVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (platform::drawingOn) (platform::glCalls.glVertex3f)(x, y, z);
}
inline void GatedDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    if (platform::drawingOn) (platform::glCalls.glDrawElements)(mode, count, type, indices);
}
inline void GatedDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (platform::drawingOn) (platform::glCalls.glDrawArrays)(mode, first, count);
}
inline void GatedCallList(GLuint list) {
    if (platform::drawingOn) (platform::glCalls.glCallList)(list);
}
inline void GatedClear(GLbitfield mask) {
    if (platform::drawingOn) (platform::glCalls.glClear)(mask);
}
inline void GatedDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels) {
    if (platform::drawingOn) (platform::glCalls.glDrawPixels)(width, height, format, type, pixels);
}
inline void GatedSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    if (platform::drawingOn) (platform::glCalls.gluSphere)(quadric, radius, slices, stacks);
}

#undef glBegin
#undef glEnd
#undef glVertex2f
#undef glVertex2i
#undef glVertex3f
#undef glDrawElements
#undef glDrawArrays
#undef glCallList
#undef glClear
#undef glDrawPixels
#undef gluSphere
#define glBegin(mode) GatedBegin(mode)
#define glEnd() GatedEnd()
#define glVertex2f(x, y) GatedVertex2f(x, y)
#define glVertex2i(x, y) GatedVertex2i(x, y)
#define glVertex3f(x, y, z) GatedVertex3f(x, y, z)
#define glDrawElements(mode, count, type, indices) GatedDrawElements(mode, count, type, indices)
#define glDrawArrays(mode, first, count) GatedDrawArrays(mode, first, count)
#define glCallList(list) GatedCallList(list)
#define glClear(mask) GatedClear(mask)
#define glDrawPixels(width, height, format, type, pixels) GatedDrawPixels(width, height, format, type, pixels)
#define gluSphere(quadric, radius, slices, stacks) GatedSphere(quadric, radius, slices, stacks)
