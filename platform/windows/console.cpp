// platform/windows/console.cpp — the parent's console, or kept errors shown in a message box.
#include "platform/console.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/windows/wide_text.h"

namespace platform {
namespace {

// Where stderr went when there was no console; empty while it goes somewhere visible.
struct ConsoleOutputState {
    std::wstring keptErrorsPath;
};

ConsoleOutputState consoleOutput;

// A standard handle that leads somewhere: a console, a file or a pipe the parent gave us.
bool Connected(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void KeepErrors() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return;
    const std::wstring path = std::wstring(folder) + L"undertow-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    if (_wfreopen(path.c_str(), L"w+", stderr)) consoleOutput.keptErrorsPath = path;
}

// The last non-empty line of the kept errors.
std::string LastKeptLine() {
    std::string text, line;
    std::rewind(stderr);
    for (int c = std::fgetc(stderr); c != EOF; c = std::fgetc(stderr)) {
        if (c == '\n') {
            if (!line.empty()) text = line;
            line.clear();
        } else if (c != '\r') {
            line += static_cast<char>(c);
        }
    }
    return line.empty() ? text : line;
}

}  // namespace

void AttachConsoleOutput() {
    const bool out = Connected(STD_OUTPUT_HANDLE), err = Connected(STD_ERROR_HANDLE);
    if (out && err) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
        return;
    }
    if (!err) KeepErrors();
}

int FinishConsoleOutput(int exitCode) {
    if (consoleOutput.keptErrorsPath.empty()) return exitCode;
    std::fflush(stderr);
    const std::string line = exitCode != 0 ? LastKeptLine() : std::string();
    std::fclose(stderr);
    _wremove(consoleOutput.keptErrorsPath.c_str());
    consoleOutput.keptErrorsPath.clear();
    if (!line.empty()) MessageBoxW(nullptr, WideText(line).c_str(), L"Undertow", MB_OK | MB_ICONERROR);
    return exitCode;
}

}  // namespace platform
