// platform/windows/display_presence.cpp — every Windows session has a desktop to draw on.
#include "platform/display_presence.h"

namespace platform {

bool DisplayEnvironmentPresent() { return true; }

}  // namespace platform
