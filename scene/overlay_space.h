// scene/overlay_space.h — the 640 × 480 pixel space that 2D overlays are drawn in.
#pragma once

// Pushes both matrices and sets an orthographic 0..640 × 0..480 projection (origin bottom left,
// near 1, far -1) with an identity model-view; the model-view matrix is left selected.
void PushOverlaySpace();

// Pops both matrices; the model-view matrix is left selected.
void PopOverlaySpace();

// One triangle strip over the whole overlay space: (0,0), (0,480), (640,0), (640,480).
void DrawFullScreenStrip();
