// platform/windows/child_process.cpp — the child through CreateProcessW and an overlapped pipe.
//
// The child's standard input is the client end of a named pipe; our end is overlapped, so a
// write can wait a bounded time and be cancelled. Handles are kept in the plain integers of
// ChildProcess: Windows handles fit in 32 bits and may be truncated and sign-extended.
#include "platform/child_process.h"

#include <windows.h>

#include <cstdint>

#include "platform/program_file.h"
#include "platform/windows/wide_text.h"

namespace platform {
namespace {

constexpr DWORD kPipeBytes = 1 << 20;

HANDLE AsHandle(long value) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(value)); }
long FromHandle(HANDLE handle) { return static_cast<long>(reinterpret_cast<std::intptr_t>(handle)); }

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// `name` as Windows finds a program: a path as it is; a bare name beside this program, then in
// each PATH folder, with ".exe" added when it has no extension.
std::wstring FindProgram(const std::string& name) {
    const std::wstring wide = WideText(name);
    if (wide.find_first_of(L"\\/:") != std::wstring::npos) return IsFile(wide) ? wide : std::wstring();
    const bool hasExtension = wide.find(L'.') != std::wstring::npos;
    std::vector<std::wstring> folders;
    const std::wstring self = WideText(ProgramFile());
    const std::size_t slash = self.find_last_of(L"\\/");
    if (slash != std::wstring::npos) folders.push_back(self.substr(0, slash));
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size > 0) {
        std::wstring path(size, L'\0');
        path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find(L';', start);
            if (end == std::wstring::npos) end = path.size();
            if (end > start) folders.push_back(path.substr(start, end - start));
            start = end + 1;
        }
    }
    for (const std::wstring& folder : folders) {
        const std::wstring base = folder + L"\\" + wide;
        if (!hasExtension && IsFile(base + L".exe")) return base + L".exe";
        if (hasExtension && IsFile(base)) return base;
    }
    return {};
}

// One argument quoted so that the child's C runtime splits it back out unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!line.empty()) line += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    for (std::size_t i = 0;; ++i) {
        std::size_t backslashes = 0;
        while (i < arg.size() && arg[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == arg.size()) {
            line.append(backslashes * 2, L'\\');
            break;
        }
        if (arg[i] == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        line += arg[i];
    }
    line += L'"';
}

std::string LastErrorText() {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = text ? NarrowText(text) : std::string("error ") + std::to_string(GetLastError());
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.')) result.pop_back();
    return result;
}

// Our overlapped end and the child's inheritable end of a fresh pipe.
bool MakeInputPipe(HANDLE& ours, HANDLE& theirs) {
    static LONG serial = 0;
    const std::wstring name = L"\\\\.\\pipe\\undertow-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(InterlockedIncrement(&serial));
    ours = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                            PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, kPipeBytes, 0, 0, nullptr);
    if (ours == INVALID_HANDLE_VALUE) return false;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    theirs = CreateFileW(name.c_str(), GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    if (theirs == INVALID_HANDLE_VALUE) {
        CloseHandle(ours);
        return false;
    }
    return true;
}

}  // namespace

bool StartChild(const std::vector<std::string>& args, bool pipeInput, ChildProcess& child, std::string& error) {
    if (args.empty()) {
        error = "no program to start";
        return false;
    }
    const std::wstring program = FindProgram(args[0]);
    if (program.empty()) {
        error = "cannot start " + args[0] + ": not found beside the program or on the PATH";
        return false;
    }
    std::wstring line;
    for (const std::string& arg : args) AppendQuoted(line, WideText(arg));

    HANDLE ours = INVALID_HANDLE_VALUE, theirs = INVALID_HANDLE_VALUE;
    if (pipeInput && !MakeInputPipe(ours, theirs)) {
        error = "cannot make a pipe to " + args[0] + ": " + LastErrorText();
        return false;
    }
    if (!pipeInput) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        theirs = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    }
    // Only the child's input is handed down; its output goes where ours goes.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = theirs;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    // A process group of its own (Ctrl+C reaches only the demo) and no console window.
    const BOOL started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    const std::string why = started ? std::string() : LastErrorText();
    if (theirs != INVALID_HANDLE_VALUE) CloseHandle(theirs);
    if (!started) {
        if (ours != INVALID_HANDLE_VALUE) CloseHandle(ours);
        error = "cannot start " + args[0] + ": " + why;
        return false;
    }
    CloseHandle(process.hThread);
    child.id = FromHandle(process.hProcess);
    child.input = pipeInput ? static_cast<int>(FromHandle(ours)) : -1;
    return true;
}

long WriteToChild(ChildProcess& child, const void* data, std::size_t size, int timeoutMs) {
    if (child.input < 0) return -1;
    const HANDLE pipe = AsHandle(child.input);
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) return -1;
    const DWORD chunk = size > kPipeBytes ? kPipeBytes : static_cast<DWORD>(size);
    DWORD written = 0;
    long result = -1;
    if (WriteFile(pipe, data, chunk, &written, &overlapped)) {
        result = static_cast<long>(written);
    } else if (GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(overlapped.hEvent, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) CancelIoEx(pipe, &overlapped);
        // After a cancel, what the pipe took before it still counts.
        if (GetOverlappedResult(pipe, &overlapped, &written, TRUE) || GetLastError() == ERROR_OPERATION_ABORTED)
            result = static_cast<long>(written);
    }
    CloseHandle(overlapped.hEvent);
    return result;
}

void CloseChildInput(ChildProcess& child) {
    if (child.input >= 0) CloseHandle(AsHandle(child.input));
    child.input = -1;
}

bool WaitForChild(ChildProcess& child, int timeoutMs, ChildExit& how) {
    if (child.id == -1) return true;
    const HANDLE process = AsHandle(child.id);
    if (WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) == WAIT_TIMEOUT) return false;
    DWORD code = 0;
    how = ChildExit{};
    if (GetExitCodeProcess(process, &code)) {
        how.exited = true;
        how.code = static_cast<int>(code);
    }
    CloseHandle(process);
    child.id = -1;
    return true;
}

void KillChild(ChildProcess& child) {
    CloseChildInput(child);
    if (child.id == -1) return;
    const HANDLE process = AsHandle(child.id);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    child.id = -1;
}

bool ProgramOnPath(const char* name) { return !FindProgram(name).empty(); }

long CurrentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

}  // namespace platform
