// tools/output_file.cpp — file output with folder creation, and little-endian packing.
#include "tools/output_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace assets {

bool WriteAssetFile(const std::string& root, const std::string& relative, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = std::filesystem::path(root) / relative;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    bool ok = file != nullptr;
    if (ok && !bytes.empty()) ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) ok = false;
    if (!ok) std::fprintf(stderr, "assets: cannot write %s\n", path.string().c_str());
    return ok;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutFloat(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

}  // namespace assets
