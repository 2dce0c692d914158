// scenes/cave_caustics.h — scene four's caustics laid on the walls in the walls' own pass.
//
// The caustic pass draws the first cave mesh again and adds the square of the caustic texture
// in the caustic colour, so those walls end up as cave texture × light + (caustic × colour)².
// Three combiner stages give the same sum in the walls' pass: the caustic in its colour, that
// squared, and the cave texture times the lit colour added to it. The fog fades what each pass
// leaves, the caustic pass's colour before the blend squares it, so the sums agree only where
// the fog does not reach yet: the stages are used for the triangles wholly nearer than the
// fog's start, and the further walls keep the two passes. The blend rounds the squared caustic
// to a level of its own before it adds it, the stages round the sum once: a channel can come
// out one level apart.
#pragma once

#include <vector>

#include "geometry/mesh.h"
#include "platform/gl.h"

// Whether the context has the three stages.
bool CausticWallStagesAvailable();

// The given triangles of `mesh` as one GL_TRIANGLES primitive, each corner with its texture
// coordinates (on units 0 and 2 for the stages, else as glTexCoord2f), its normal and its
// position, as a mesh's display list sends them.
void EmitTriangles(const Mesh& mesh, const std::vector<int>& triangles, bool forStages);

// Sets units 0 to 2 up as the three stages: unit 0 the `caustic` texture in `colour`, unit 1 its
// square, unit 2 the `walls` texture times the primary colour added to it. Unit 0 is active.
void BeginCausticWalls(GLuint caustic, GLuint walls, const float colour[3]);

// Unit 0 back to modulating its texture, units 1 and 2 as a context starts them; unit 0 active.
void EndCausticWalls();
