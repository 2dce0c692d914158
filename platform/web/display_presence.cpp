// platform/web/display_presence.cpp — the page's canvas is always there to draw on.
#include "platform/display_presence.h"

namespace platform {

bool DisplayEnvironmentPresent() { return true; }

}  // namespace platform
