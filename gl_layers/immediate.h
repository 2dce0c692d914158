// gl_layers/immediate.h — glBegin/glEnd, the current vertex attributes and display lists.
//
// The vertices between glBegin and glEnd are gathered on the CPU and drawn at glEnd from the
// streaming buffer; only the attributes set inside the pair travel per vertex, the others are
// the current values. A display list keeps its primitives in one ES buffer made once at
// glEndList, with their layouts, and replays them under whatever matrices and state are
// current; what else a list holds (glBitmap, state calls) it keeps as calls to replay.
#pragma once

#include <functional>

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY Begin(GLenum mode);
void APIENTRY End();
void APIENTRY Vertex2f(GLfloat x, GLfloat y);
void APIENTRY Vertex2i(GLint x, GLint y);
void APIENTRY Vertex3f(GLfloat x, GLfloat y, GLfloat z);
void APIENTRY Color3f(GLfloat r, GLfloat g, GLfloat b);
void APIENTRY Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void APIENTRY Normal3f(GLfloat x, GLfloat y, GLfloat z);
void APIENTRY TexCoord1f(GLfloat s);
void APIENTRY TexCoord2f(GLfloat s, GLfloat t);
void APIENTRY MultiTexCoord1f(GLenum unit, GLfloat s);
void APIENTRY MultiTexCoord2f(GLenum unit, GLfloat s, GLfloat t);
void APIENTRY MultiTexCoord3f(GLenum unit, GLfloat s, GLfloat t, GLfloat r);
void APIENTRY MultiTexCoord4f(GLenum unit, GLfloat s, GLfloat t, GLfloat r, GLfloat q);
void APIENTRY Weightf(GLfloat weight);

// True between glBegin and glEnd.
bool InsidePrimitive();

GLuint APIENTRY GenLists(GLsizei range);
void APIENTRY NewList(GLuint list, GLenum mode);
void APIENTRY EndList();
void APIENTRY CallList(GLuint list);
void APIENTRY DeleteLists(GLuint list, GLsizei range);
GLboolean APIENTRY IsList(GLuint list);

// While a list is being compiled, keeps `call` in it; returns whether the call is also to be
// carried out now (not compiling, or GL_COMPILE_AND_EXECUTE).
bool RecordCall(const std::function<void()>& call);

// Frees every list's buffer (with the context current).
void ReleaseLists();

}  // namespace gl_layers
