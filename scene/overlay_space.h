// scene/overlay_space.h — the 640 × 480 pixel space that 2D overlays are drawn in.
#pragma once

// Pushes both matrices and sets an orthographic 0..640 × 0..480 projection (origin bottom left,
// near 1, far -1) with an identity model-view; the model-view matrix is left selected.
void PushOverlaySpace();

// Pops both matrices; the model-view matrix is left selected.
void PopOverlaySpace();

// One triangle strip over the whole overlay space: (0,0), (0,480), (640,0), (640,480).
void DrawFullScreenStrip();

// A veil over the whole picture in the current colour, its alpha blended over what is there:
// drawn in the overlay space without texture, depth test or culling. Texturing, the depth test,
// culling and blending, with the blend factors, are afterwards as they were before.
void DrawFullScreenVeil();

// The near plane of every perspective the scenes load.
constexpr double kPerspectiveNear = 1.0;

// Sets the projection to a perspective of `fovy` degrees from kPerspectiveNear to `zFar` and
// selects an identity model-view matrix.
void LoadPerspective(double fovy, double aspect, double zFar);
