// platform/web/desktop_gl.cpp — the browser has WebGL 2 alone: our layer draws every run.
#include "platform/desktop_gl.h"

namespace platform {

bool DesktopGLPresent() { return false; }

}  // namespace platform
