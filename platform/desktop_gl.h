// platform/desktop_gl.h — whether the system offers a desktop OpenGL driver at all.
#pragma once

namespace platform {

// True on Linux and Windows. False in the browser, whose only GL is WebGL 2 (OpenGL ES 3.0):
// there every run draws through our OpenGL 1.x layer, as --gles does elsewhere.
bool DesktopGLPresent();

}  // namespace platform
