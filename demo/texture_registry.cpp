// demo/texture_registry.cpp — upper-casing, de-duplication and delivery.
#include "demo/texture_registry.h"

#include <cstdio>
#include <cstring>

void TextureRegistry::Add(const char* name, GLuint* destination) {
    if (!name) return;
    char buffer[128] = {};
    const std::size_t length = std::strlen(name);
    if (length >= sizeof buffer) {
        // Would not fit an entry: refused rather than cut to a different name.
        std::fprintf(stderr, "textures: name too long: %s\n", name);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const char c = name[i];
        buffer[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    for (TextureEntry& entry : entries) {
        if (std::strcmp(entry.name, buffer) == 0) {
            entry.destinations.push_back(destination);
            return;
        }
    }
    TextureEntry entry;
    std::memcpy(entry.name, buffer, sizeof buffer);
    entry.destinations.push_back(destination);
    entries.push_back(entry);
}

int TextureRegistry::Count() const { return static_cast<int>(entries.size()); }

const char* TextureRegistry::GetName(unsigned index) const {
    return index < entries.size() ? entries[index].name : nullptr;
}

void TextureRegistry::Deliver(unsigned index, GLuint glName) const {
    if (index >= entries.size()) return;
    for (GLuint* destination : entries[index].destinations) {
        if (destination) *destination = glName;
    }
}
