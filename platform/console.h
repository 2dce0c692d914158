// platform/console.h — where the program's printed lines go.
//
// A Windows program of the GUI subsystem starts with no console: started from cmd or
// PowerShell it prints into that console; started with none (a double-click), what it would
// have printed on stderr is kept, and a failed run shows its last line in a message box.
#pragma once

namespace platform {

// Connects stdout and stderr before anything is printed.
void AttachConsoleOutput();

// After the run: shows the failure where nothing could print it, then returns `exitCode`.
int FinishConsoleOutput(int exitCode);

}  // namespace platform
