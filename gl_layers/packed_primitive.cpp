// gl_layers/packed_primitive.cpp — packing gathered vertices and drawing them.
#include "gl_layers/packed_primitive.h"

#include <cstring>

namespace gl_layers {

PackedPrimitive Pack(GLenum mode, const std::vector<FullVertex>& vertices, unsigned varying) {
    PackedPrimitive p;
    p.mode = mode;
    p.count = static_cast<GLsizei>(vertices.size());
    p.varying = varying | 1u << kPosition;
    int floats = 4;
    auto place = [&](int attribute, int size) {
        AttributeSource& s = p.sources[attribute];
        s.fromBuffer = true;
        s.size = size;
        s.offset = static_cast<std::uintptr_t>(floats) * sizeof(float);
        floats += size;
    };
    p.sources[kPosition].fromBuffer = true;
    if (varying & (1u << kNormal)) place(kNormal, 3);
    if (varying & (1u << kColor)) place(kColor, 4);
    if (varying & (1u << kWeight)) place(kWeight, 1);
    for (int u = 0; u < kUnits; ++u)
        if (varying & (1u << (kTexCoord0 + u))) place(kTexCoord0 + u, 4);
    const GLsizei stride = floats * static_cast<GLsizei>(sizeof(float));
    for (AttributeSource& s : p.sources) s.stride = stride;
    p.data.resize(vertices.size() * static_cast<std::size_t>(floats));
    float* out = p.data.data();
    for (const FullVertex& v : vertices) {
        std::memcpy(out, v.position, sizeof v.position);
        out += 4;
        if (varying & (1u << kNormal)) std::memcpy(out, v.normal, sizeof v.normal), out += 3;
        if (varying & (1u << kColor)) std::memcpy(out, v.color, sizeof v.color), out += 4;
        if (varying & (1u << kWeight)) *out++ = v.weight;
        for (int u = 0; u < kUnits; ++u)
            if (varying & (1u << (kTexCoord0 + u))) std::memcpy(out, v.tex[u], sizeof v.tex[u]), out += 4;
    }
    return p;
}

void DrawPacked(const PackedPrimitive& p, GLuint buffer, std::uintptr_t base) {
    AttributeSources sources;
    for (int i = 0; i < kAttributeCount; ++i) {
        sources[i] = p.sources[i];
        sources[i].offset += base;
    }
    std::vector<std::uint32_t> indices;
    bool split = false;
    const GLenum esMode = SplitPrimitive(p.mode, p.count, nullptr, indices, split);
    if (split) {
        if (indices.empty()) return;
        const std::uintptr_t at = StreamIndices(indices.data(), indices.size());
        DrawWith(buffer, sources, esMode, 0, 0, static_cast<GLsizei>(indices.size()), at);
    } else {
        DrawWith(buffer, sources, esMode, p.count, 0, 0, 0);
    }
}

}  // namespace gl_layers
