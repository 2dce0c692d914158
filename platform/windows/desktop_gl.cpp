// platform/windows/desktop_gl.cpp — the system's OpenGL driver draws unless --gles asks for our layer.
#include "platform/desktop_gl.h"

namespace platform {

bool DesktopGLPresent() { return true; }

}  // namespace platform
