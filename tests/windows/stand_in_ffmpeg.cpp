// tests/windows/stand_in_ffmpeg.cpp — a stand-in ffmpeg.exe for the Windows tests: it copies
// everything it reads on standard input, byte for byte, into the file named by its last
// argument, so the test can compare it with the frames the program drew. Like ffmpeg it reads
// its arguments as UTF-16 and its input in binary mode.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    _setmode(_fileno(stdin), _O_BINARY);
    std::FILE* out = _wfopen(argv[argc - 1], L"wb");
    if (!out) return 3;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        if (std::fwrite(buffer, 1, got, out) != got) return 4;
    }
    return std::fclose(out) == 0 ? 0 : 4;
}
