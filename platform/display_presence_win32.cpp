// platform/display_presence_win32.cpp — every Windows session has a desktop to draw on.
#include "platform/display_presence.h"

namespace platform {

bool DisplayEnvironmentPresent() { return true; }

}  // namespace platform
