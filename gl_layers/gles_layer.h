// gl_layers/gles_layer.h — our OpenGL 1.x layer over OpenGL ES 3.0.
//
// Installed, it fills the program's GL table (platform/gl.h) with its own functions: every GL
// and GLU call the program makes then keeps the fixed-function state here and draws through
// generated ES shaders and buffers, and GetGLProcAddress answers the layer's extension and
// framebuffer functions. Its extension string names the groups it gives (multitexture with
// the combiners, vertex weighting, compiled arrays, anisotropy where ES has it), so the
// program's detection finds them as it finds a driver's.
#pragma once

#include <string>

namespace gl_layers {

// Needs a current OpenGL ES 3.0 (or later) context. False, with the reason in `error`, when
// the context cannot carry the layer.
bool InstallGlesLayer(std::string& error);

// True while the layer fills the GL table.
bool GlesLayerInstalled();

// Programs the layer has compiled in this process.
int GlesProgramsCompiled();

}  // namespace gl_layers
