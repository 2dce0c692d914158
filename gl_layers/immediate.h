// gl_layers/immediate.h — glBegin/glEnd and the current vertex attributes.
//
// The vertices between glBegin and glEnd are gathered on the CPU and drawn at glEnd from the
// streaming buffer, or kept in the display list being compiled; only the attributes set inside
// the pair travel per vertex, the others are the current values when the primitive is drawn.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY Begin(GLenum mode);
void APIENTRY End();
void APIENTRY Vertex2f(GLfloat x, GLfloat y);
void APIENTRY Vertex2i(GLint x, GLint y);
void APIENTRY Vertex3f(GLfloat x, GLfloat y, GLfloat z);
void Vertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w);
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

}  // namespace gl_layers
