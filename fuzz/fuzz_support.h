// fuzz/fuzz_support.h — what every fuzz target shares: files from the input, quiet readers,
// and a check that stops the run with a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

// Stops the run (libFuzzer then saves the input) when `condition` does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) ::fuzz::Fail(#condition, __FILE__, __LINE__);                            \
    } while (0)

[[noreturn]] void Fail(const char* condition, const char* file, int line);

// The input as a read-only stream; never null (an empty input gives an empty stream).
std::FILE* OpenBytes(const std::uint8_t* data, std::size_t size);

// A private asset root (made once per process) with TEKSTURY, TEKSTURY/WODA and DANE in it.
const std::string& AssetRoot();

// Writes the input to `relative` under the asset root and returns its full path.
std::string WriteAsset(const char* relative, const std::uint8_t* data, std::size_t size);

// Collects what the readers print on stderr while alive, instead of letting it reach the
// terminal at every input.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    // What was printed so far.
    std::string Text();

private:
    int saved = -1;
    std::FILE* sink = nullptr;
};

// Number of lines in `text`.
int LineCount(const std::string& text);

}  // namespace fuzz
