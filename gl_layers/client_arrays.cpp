// gl_layers/client_arrays.cpp — client-side vertex arrays, copied into the streaming buffer at
// each draw: only the vertices the draw uses, each stretch of memory once however many arrays
// share it (interleaved vertices go over as they lie). A draw compiled into a display list takes
// its vertices from the arrays there and then, as GL does, as a primitive of the list.
#include "gl_layers/client_arrays.h"

#include <algorithm>
#include <cstring>

#include "gl_layers/display_lists.h"
#include "gl_layers/draw.h"
#include "gl_layers/immediate.h"

namespace gl_layers {

namespace {

int TypeBytes(GLenum type) {
    switch (type) {
        case GL_UNSIGNED_BYTE: case GL_BYTE: return 1;
        case GL_UNSIGNED_SHORT: case GL_SHORT: return 2;
        default: return 4;
    }
}

void SetPointer(int attribute, GLint size, GLenum type, GLsizei stride, const void* pointer) {
    ClientArray& a = state.client.arrays[attribute];
    a.size = size, a.type = type, a.stride = stride, a.pointer = pointer;
}

int ArrayOf(GLenum array) {
    switch (array) {
        case GL_VERTEX_ARRAY: return kPosition;
        case GL_NORMAL_ARRAY: return kNormal;
        case GL_COLOR_ARRAY: return kColor;
        case GL_VERTEX_WEIGHT_ARRAY_EXT: return kWeight;
        case GL_TEXTURE_COORD_ARRAY: return kTexCoord0 + state.client.clientActiveUnit;
        default: return -1;
    }
}

// Three bytes a vertex is a vertex format many drivers lack (Vulkan's, under ANGLE in the
// browsers): they convert the whole buffer again after every write to it, which made each draw
// of such an array cost tens of milliseconds in Chromium. Such arrays go over as four bytes a
// vertex, the fourth the value GL gives a missing component (1 for a colour's alpha).
bool WidenedOnTheWay(const ClientArray& a) { return a.size == 3 && TypeBytes(a.type) == 1; }

void Widen(const ClientArray& a, std::uint32_t low, std::size_t vertices, unsigned char* out) {
    const std::size_t stride = a.stride ? static_cast<std::size_t>(a.stride) : 3;
    const unsigned char* in = static_cast<const unsigned char*>(a.pointer) + low * stride;
    const unsigned char one = a.type == GL_BYTE ? 127 : 255;
    for (std::size_t v = 0; v < vertices; ++v, in += stride, out += 4) {
        std::memcpy(out, in, 3);
        out[3] = one;
    }
}

struct Span {
    const unsigned char* begin;
    const unsigned char* end;
    std::size_t at = 0;   // where it lies in the staging copy
};

// Streams the vertices `low` .. `high` of every enabled array and says where each now lies,
// so that vertex `low` is element 0.
bool StreamArrays(std::uint32_t low, std::uint32_t high, AttributeSources& sources) {
    const ClientState& c = state.client;
    if (!c.arrays[kPosition].enabled || !c.arrays[kPosition].pointer) return false;
    std::vector<Span> spans;
    for (int i = 0; i < kAttributeCount; ++i) {
        const ClientArray& a = c.arrays[i];
        if (!a.enabled || !a.pointer || WidenedOnTheWay(a)) continue;
        const std::size_t element = static_cast<std::size_t>(a.size) * TypeBytes(a.type);
        const std::size_t stride = a.stride ? static_cast<std::size_t>(a.stride) : element;
        const unsigned char* base = static_cast<const unsigned char*>(a.pointer);
        spans.push_back(Span{base + low * stride, base + high * stride + element});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::vector<Span> merged;
    for (const Span& s : spans) {
        if (!merged.empty() && s.begin <= merged.back().end) merged.back().end = std::max(merged.back().end, s.end);
        else merged.push_back(s);
    }
    std::size_t total = 0;
    for (Span& s : merged) {
        s.at = total;
        total += (static_cast<std::size_t>(s.end - s.begin) + 15) & ~static_cast<std::size_t>(15);
    }
    static std::vector<unsigned char> staging;
    std::size_t widenedAt[kAttributeCount] = {};
    const std::size_t vertices = static_cast<std::size_t>(high - low) + 1;
    for (int i = 0; i < kAttributeCount; ++i)
        if (c.arrays[i].enabled && c.arrays[i].pointer && WidenedOnTheWay(c.arrays[i])) {
            widenedAt[i] = total;
            total += (vertices * 4 + 15) & ~static_cast<std::size_t>(15);
        }
    staging.resize(total);
    for (const Span& s : merged) std::memcpy(&staging[s.at], s.begin, static_cast<std::size_t>(s.end - s.begin));
    for (int i = 0; i < kAttributeCount; ++i)
        if (c.arrays[i].enabled && c.arrays[i].pointer && WidenedOnTheWay(c.arrays[i]))
            Widen(c.arrays[i], low, vertices, &staging[widenedAt[i]]);
    const std::uintptr_t streamAt = StreamVertices(staging.data(), total);
    for (int i = 0; i < kAttributeCount; ++i) {
        const ClientArray& a = c.arrays[i];
        if (!a.enabled || !a.pointer) continue;
        const std::size_t element = static_cast<std::size_t>(a.size) * TypeBytes(a.type);
        const std::size_t stride = a.stride ? static_cast<std::size_t>(a.stride) : element;
        AttributeSource& source = sources[i];
        source.fromBuffer = true;
        source.type = a.type;
        source.normalized = a.type != GL_FLOAT && (i == kColor || i == kNormal) ? GL_TRUE : GL_FALSE;
        if (WidenedOnTheWay(a)) {
            source.size = 4;
            source.stride = 4;
            source.offset = streamAt + widenedAt[i];
            continue;
        }
        const unsigned char* first = static_cast<const unsigned char*>(a.pointer) + low * stride;
        const Span* in = nullptr;
        for (const Span& s : merged)
            if (first >= s.begin && first < s.end) in = &s;
        source.size = a.size;
        source.stride = static_cast<GLsizei>(stride);
        source.offset = streamAt + in->at + static_cast<std::size_t>(first - in->begin);
    }
    return true;
}

// Component `k` of an array's element at `at`, as the ES draw would read it (GL normalises
// integer colours and normals only).
float Component(const unsigned char* at, GLenum type, int k, bool normalized) {
    switch (type) {
        case GL_UNSIGNED_BYTE: return normalized ? at[k] / 255.0f : at[k];
        case GL_BYTE: {
            const float v = reinterpret_cast<const GLbyte*>(at)[k];
            return normalized ? std::max(v / 127.0f, -1.0f) : v;
        }
        case GL_UNSIGNED_SHORT: {
            GLushort v;
            std::memcpy(&v, at + 2 * k, sizeof v);
            return normalized ? v / 65535.0f : v;
        }
        case GL_SHORT: {
            GLshort v;
            std::memcpy(&v, at + 2 * k, sizeof v);
            return normalized ? std::max(v / 32767.0f, -1.0f) : v;
        }
        case GL_INT: {
            GLint v;
            std::memcpy(&v, at + 4 * k, sizeof v);
            return normalized ? std::max(static_cast<float>(v) / 2147483647.0f, -1.0f) : static_cast<float>(v);
        }
        default: {
            GLfloat v;
            std::memcpy(&v, at + 4 * k, sizeof v);
            return v;
        }
    }
}

// One vertex of the enabled arrays as glBegin/glEnd gathers it (glArrayElement).
void ArrayElement(std::uint32_t index) {
    const ClientState& c = state.client;
    float v[kAttributeCount][4];
    for (int i = 0; i < kAttributeCount; ++i) {
        const ClientArray& a = c.arrays[i];
        if (!a.enabled || !a.pointer) continue;
        const std::size_t element = static_cast<std::size_t>(a.size) * TypeBytes(a.type);
        const std::size_t stride = a.stride ? static_cast<std::size_t>(a.stride) : element;
        const unsigned char* at = static_cast<const unsigned char*>(a.pointer) + index * stride;
        const bool normalized = a.type != GL_FLOAT && (i == kColor || i == kNormal);
        const float defaults[4] = {0, 0, 0, 1};
        for (int k = 0; k < 4; ++k) v[i][k] = k < a.size ? Component(at, a.type, k, normalized) : defaults[k];
    }
    auto on = [](int i) { return state.client.arrays[i].enabled && state.client.arrays[i].pointer; };
    if (on(kNormal)) Normal3f(v[kNormal][0], v[kNormal][1], v[kNormal][2]);
    if (on(kColor)) Color4f(v[kColor][0], v[kColor][1], v[kColor][2], v[kColor][3]);
    if (on(kWeight)) Weightf(v[kWeight][0]);
    for (int u = 0; u < kUnits; ++u)
        if (on(kTexCoord0 + u)) {
            const float* t = v[kTexCoord0 + u];
            MultiTexCoord4f(GL_TEXTURE0 + static_cast<GLenum>(u), t[0], t[1], t[2], t[3]);
        }
    if (on(kPosition)) Vertex4f(v[kPosition][0], v[kPosition][1], v[kPosition][2], v[kPosition][3]);
}

// A draw compiled into a list: its vertices read from the arrays now, between glBegin and glEnd.
void CompileDraw(GLenum mode, const std::vector<std::uint32_t>& indices) {
    Begin(mode);
    for (std::uint32_t index : indices) ArrayElement(index);
    End();
}

void DrawIndexed(GLenum mode, std::vector<std::uint32_t>& indices) {
    if (indices.empty()) return;
    const auto range = std::minmax_element(indices.begin(), indices.end());
    const std::uint32_t low = *range.first, high = *range.second;
    AttributeSources sources;
    if (!StreamArrays(low, high, sources)) return;
    for (std::uint32_t& i : indices) i -= low;
    std::vector<std::uint32_t> split;
    bool wasSplit = false;
    const GLenum esMode = SplitPrimitive(mode, static_cast<GLsizei>(indices.size()), &indices, split, wasSplit);
    const std::vector<std::uint32_t>& drawn = wasSplit ? split : indices;
    if (drawn.empty()) return;
    const std::uintptr_t at = StreamIndices(drawn.data(), drawn.size());
    DrawWith(VertexStream(), sources, esMode, 0, 0, static_cast<GLsizei>(drawn.size()), at);
}

std::vector<std::uint32_t> ReadIndices(GLsizei count, GLenum type, const void* indices) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(count > 0 ? count : 0));
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (type == GL_UNSIGNED_SHORT) out[i] = static_cast<const GLushort*>(indices)[i];
        else if (type == GL_UNSIGNED_BYTE) out[i] = static_cast<const GLubyte*>(indices)[i];
        else out[i] = static_cast<const GLuint*>(indices)[i];
    }
    return out;
}

}  // namespace

void APIENTRY VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(kPosition, size, type, stride, pointer);
}

void APIENTRY NormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(kNormal, 3, type, stride, pointer);
}

void APIENTRY ColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(kColor, size, type, stride, pointer);
}

void APIENTRY TexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(kTexCoord0 + state.client.clientActiveUnit, size, type, stride, pointer);
}

void APIENTRY WeightPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    SetPointer(kWeight, size, type, stride, pointer);
}

void APIENTRY ClientActiveTexture(GLenum unit) {
    const int index = static_cast<int>(unit) - GL_TEXTURE0;
    if (index < 0 || index >= kUnits) return SetError(GL_INVALID_ENUM);
    state.client.clientActiveUnit = index;
}

void APIENTRY EnableClientState(GLenum array) {
    const int index = ArrayOf(array);
    if (index < 0) return SetError(GL_INVALID_ENUM);
    state.client.arrays[index].enabled = true;
}

void APIENTRY DisableClientState(GLenum array) {
    const int index = ArrayOf(array);
    if (index < 0) return SetError(GL_INVALID_ENUM);
    state.client.arrays[index].enabled = false;
}

void APIENTRY DrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (count < 0 || first < 0) return SetError(GL_INVALID_VALUE);
    if (InsidePrimitive()) return SetError(GL_INVALID_OPERATION);
    std::vector<std::uint32_t> indices(static_cast<std::size_t>(count));
    for (GLsizei i = 0; i < count; ++i) indices[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(first + i);
    if (CompilingList()) return CompileDraw(mode, indices);
    DrawIndexed(mode, indices);
}

void APIENTRY DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    if (count < 0) return SetError(GL_INVALID_VALUE);
    if (type != GL_UNSIGNED_BYTE && type != GL_UNSIGNED_SHORT && type != GL_UNSIGNED_INT) return SetError(GL_INVALID_ENUM);
    if (InsidePrimitive()) return SetError(GL_INVALID_OPERATION);
    if (!indices || count == 0) return;
    std::vector<std::uint32_t> read = ReadIndices(count, type, indices);
    if (CompilingList()) return CompileDraw(mode, read);
    DrawIndexed(mode, read);
}

void APIENTRY DrawRangeElements(GLenum mode, GLuint, GLuint, GLsizei count, GLenum type, const GLvoid* indices) {
    DrawElements(mode, count, type, indices);
}

void APIENTRY LockArrays(GLint, GLsizei) {}

void APIENTRY UnlockArrays() {}

}  // namespace gl_layers
