// platform/draw_gate.cpp — the state of the drawing gate.
#include "platform/gl.h"

namespace platform {

bool drawingOn = true;

void SetDrawing(bool on) { drawingOn = on; }

}  // namespace platform
