// demo/texture_registry.h — the texture file names the scenes need, each loaded once.
//
// Scenes add a file name with the address of the variable that is to receive the GL name.
// Names are upper-cased (a–z only) and de-duplicated, so a file named by two scenes is one
// entry whose GL name reaches both.
#pragma once

#include <vector>

#include "platform/gl.h"

struct TextureEntry {
    char name[128] = {};
    std::vector<GLuint*> destinations;
};

class TextureRegistry {
public:
    TextureRegistry() = default;
    virtual ~TextureRegistry() = default;

    void Add(const char* name, GLuint* destination);
    int Count() const;
    // The stored name of entry `index`, or null past the end.
    const char* GetName(unsigned index) const;
    // Writes `glName` through every destination of entry `index`, in order.
    void Deliver(unsigned index, GLuint glName) const;

    std::vector<TextureEntry> entries;
};
