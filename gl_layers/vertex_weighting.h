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
// The group's tokens reach the layer through gl_layers/token_routes.h, which stands in front of
// the table's enable, matrix-mode and client-state calls; every other token goes straight on
// to the driver, and so do the group's own where the driver has the group itself.
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

// What the routed calls do with the group's tokens while the layer is installed.
bool VertexWeightingInstalled();
void SetVertexWeighting(bool on);
bool VertexWeightingOn();
void SelectWeightMatrix();
void SetWeightArray(bool on);

}  // namespace gl_layers
