// platform/posix/display_presence.cpp — a display is what DISPLAY or WAYLAND_DISPLAY names.
#include "platform/display_presence.h"

#include <cstdlib>

namespace platform {

bool DisplayEnvironmentPresent() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

}  // namespace platform
