// platform/display_presence.h — whether the system offers a display to open windows on.
#pragma once

namespace platform {

// Under X11 or Wayland, whether DISPLAY or WAYLAND_DISPLAY is set; on Windows, always.
bool DisplayEnvironmentPresent();

}  // namespace platform
