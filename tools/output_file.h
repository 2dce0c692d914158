// tools/output_file.h — writing one generated file under the asset folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Writes `bytes` to root/relative (relative uses '/'), creating folders on the way. On failure
// prints "assets: cannot write PATH" and returns false.
bool WriteAssetFile(const std::string& root, const std::string& relative, const std::vector<std::uint8_t>& bytes);

// Little-endian appenders for building binary files.
void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutFloat(std::vector<std::uint8_t>& out, float value);

}  // namespace assets
