// gl_layers/vertex_weighting.h — vertex weighting (GL_EXT_vertex_weighting) for drivers that
// lack it, built on an ARB vertex program. Each vertex is transformed by
// w × model-view + (1 − w) × matrix 1; projection, sphere-map coordinates on unit 0, unit 1's
// coordinates and the primary colour then follow as the fixed pipeline gives them to an unlit,
// unfogged draw.
//
// Matrix 1 is the driver's program matrix 0 (GL_MATRIX0_ARB): selecting GL_MODELVIEW1_EXT
// selects it, so loading, rotating, pushing and popping it are the driver's own calls. The
// weight is generic attribute 6, which aliases no conventional attribute and goes into display
// lists like any other vertex attribute.
//
// The group's three tokens are typed here, so that exactly the calls that name them reach the
// overloads at the end of this file; every other glEnable, glMatrixMode or glEnableClientState
// goes straight to the driver. Where the driver has the group itself the overloads hand the
// token on unchanged.
#pragma once

#include "platform/gl.h"

namespace gl_layers {

// Whether the driver offers the group (its calls are then forwarded) or our layer stands in.
enum class WeightingSource { Driver, Ours };

// Compiles the vertex program and routes the group's tokens to it. Needs a current context and
// the driver's GL_ARB_vertex_program; false, with one line on stderr, when the program cannot
// be made. Calling it again in the same context does nothing; in a later context (the program
// went with the one it was made in) it compiles the program anew.
bool InstallVertexWeighting();

// Hands the group's tokens back to the driver and forgets the program, deleting it while the
// context it was made in is still current. Harmless when nothing is installed.
void RemoveVertexWeighting();

// Which side the routed calls go to now.
WeightingSource VertexWeightingSource();

// The stand-ins for glVertexWeightfEXT and glVertexWeightPointerEXT.
void VertexWeightf(GLfloat weight);
void VertexWeightPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);

// The group's tokens, each a type of its own.
enum class WeightingCap : GLenum { VertexWeighting = 0x8509 };
enum class WeightingMatrix : GLenum { ModelView1 = 0x850A };
enum class WeightingArray : GLenum { VertexWeightArray = 0x850C };

void Enable(WeightingCap cap);
void Disable(WeightingCap cap);
GLboolean IsEnabled(WeightingCap cap);
void MatrixMode(WeightingMatrix mode);
void EnableClientState(WeightingArray array);
void DisableClientState(WeightingArray array);

}  // namespace gl_layers

#undef GL_VERTEX_WEIGHTING_EXT
#undef GL_MODELVIEW1_EXT
#undef GL_VERTEX_WEIGHT_ARRAY_EXT
inline constexpr gl_layers::WeightingCap GL_VERTEX_WEIGHTING_EXT = gl_layers::WeightingCap::VertexWeighting;
inline constexpr gl_layers::WeightingMatrix GL_MODELVIEW1_EXT = gl_layers::WeightingMatrix::ModelView1;
inline constexpr gl_layers::WeightingArray GL_VERTEX_WEIGHT_ARRAY_EXT = gl_layers::WeightingArray::VertexWeightArray;

// The GL names, overloaded for the typed tokens.
inline void glEnable(gl_layers::WeightingCap cap) { gl_layers::Enable(cap); }
inline void glDisable(gl_layers::WeightingCap cap) { gl_layers::Disable(cap); }
inline GLboolean glIsEnabled(gl_layers::WeightingCap cap) { return gl_layers::IsEnabled(cap); }
inline void glMatrixMode(gl_layers::WeightingMatrix mode) { gl_layers::MatrixMode(mode); }
inline void glEnableClientState(gl_layers::WeightingArray array) { gl_layers::EnableClientState(array); }
inline void glDisableClientState(gl_layers::WeightingArray array) { gl_layers::DisableClientState(array); }
