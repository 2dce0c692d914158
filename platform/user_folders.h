// platform/user_folders.h — folders of the user's own that the program writes into.
#pragma once

#include <string>

namespace platform {

// Where F12 screenshots go: the current folder on Linux, Pictures\Undertow on Windows (an
// installed program's own folder is not writable), made when missing. "." when the system
// names none.
std::string ScreenshotFolder();

}  // namespace platform
