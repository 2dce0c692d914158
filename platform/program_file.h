// platform/program_file.h — where the running program's own file is.
#pragma once

#include <string>

namespace platform {

// The full path of the running executable (UTF-8); empty when the system does not say.
std::string ProgramFile();

}  // namespace platform
