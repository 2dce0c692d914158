// gl_layers/immediate.cpp — immediate-mode primitives and display lists.
#include "gl_layers/immediate.h"

#include <cstring>
#include <map>
#include <memory>

#include "gl_layers/draw.h"
#include "gl_layers/gles_calls.h"

namespace gl_layers {

namespace {

// One vertex with every attribute it may carry.
struct FullVertex {
    float position[4];
    float normal[3];
    float color[4];
    float weight;
    float tex[kUnits][4];
};

// A primitive's vertices packed for ES: the position and the attributes set inside the pair.
struct PackedPrimitive {
    GLenum mode = GL_POINTS;
    GLsizei count = 0;
    unsigned varying = 0;            // bit per Attribute that travels per vertex
    std::vector<float> data;
    AttributeSources sources;        // offsets from the start of `data`
    std::uintptr_t base = 0;         // where `data` lies in a list's buffer
};

// A display list: its primitives in one buffer, and everything in the order it was given.
struct DisplayList {
    GLuint buffer = 0;
    std::vector<PackedPrimitive> primitives;
    std::vector<std::function<void()>> commands;
    unsigned currentSet = 0;         // attributes the list leaves current
    float color[4], normal[3], weight, tex[kUnits][4];
};

struct Immediate {
    bool inside = false;
    GLenum mode = GL_POINTS;
    unsigned varying = 0;
    std::vector<FullVertex> vertices;
    // Display lists.
    std::map<GLuint, std::unique_ptr<DisplayList>> lists;
    GLuint nextName = 1;
    std::unique_ptr<DisplayList> compiling;
    GLuint compilingName = 0;
    GLenum compileMode = GL_COMPILE;
    ServerState beforeList;
    int callDepth = 0;
};

Immediate immediate;

void Set(unsigned attribute) {
    if (immediate.inside) immediate.varying |= 1u << attribute;
}

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

// Draws a packed primitive lying at `base` of `buffer`.
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

void AddVertex(float x, float y, float z) {
    if (!immediate.inside) return;
    const ServerState& s = state.server;
    FullVertex v;
    v.position[0] = x, v.position[1] = y, v.position[2] = z, v.position[3] = 1;
    std::memcpy(v.normal, s.normal, sizeof v.normal);
    std::memcpy(v.color, s.color, sizeof v.color);
    v.weight = s.weight;
    std::memcpy(v.tex, s.texCoord, sizeof v.tex);
    immediate.vertices.push_back(v);
}

void SetTexCoord(int unit, float s, float t, float r, float q) {
    if (unit < 0 || unit >= kUnits) return SetError(GL_INVALID_ENUM);
    float* c = state.server.texCoord[unit];
    c[0] = s, c[1] = t, c[2] = r, c[3] = q;
    Set(static_cast<unsigned>(kTexCoord0 + unit));
}

// Outside glBegin/glEnd a current value may go into a list being compiled as a call.
bool KeepOutsidePrimitive(const std::function<void()>& call) {
    if (immediate.inside) return true;
    return RecordCall(call);
}

}  // namespace

bool InsidePrimitive() { return immediate.inside; }

bool RecordCall(const std::function<void()>& call) {
    if (!immediate.compiling) return true;
    immediate.compiling->commands.push_back(call);
    return immediate.compileMode == GL_COMPILE_AND_EXECUTE;
}

void APIENTRY Begin(GLenum mode) {
    if (immediate.inside) return SetError(GL_INVALID_OPERATION);
    immediate.inside = true;
    immediate.mode = mode;
    immediate.varying = 0;
    immediate.vertices.clear();
}

void APIENTRY End() {
    if (!immediate.inside) return SetError(GL_INVALID_OPERATION);
    immediate.inside = false;
    if (immediate.vertices.empty()) return;
    PackedPrimitive p = Pack(immediate.mode, immediate.vertices, immediate.varying);
    if (immediate.compiling) {
        DisplayList& list = *immediate.compiling;
        list.currentSet |= immediate.varying;
        const std::size_t index = list.primitives.size();
        list.primitives.push_back(std::move(p));
        list.commands.push_back([&list, index] { DrawPacked(list.primitives[index], list.buffer, list.primitives[index].base); });
        if (immediate.compileMode == GL_COMPILE) return;
        const PackedPrimitive& kept = list.primitives[index];
        DrawPacked(kept, VertexStream(), StreamVertices(kept.data.data(), kept.data.size() * sizeof(float)));
        return;
    }
    DrawPacked(p, VertexStream(), StreamVertices(p.data.data(), p.data.size() * sizeof(float)));
}

void APIENTRY Vertex2f(GLfloat x, GLfloat y) { AddVertex(x, y, 0.0f); }
void APIENTRY Vertex2i(GLint x, GLint y) { AddVertex(static_cast<float>(x), static_cast<float>(y), 0.0f); }
void APIENTRY Vertex3f(GLfloat x, GLfloat y, GLfloat z) { AddVertex(x, y, z); }

void APIENTRY Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!KeepOutsidePrimitive([=] { Color4f(r, g, b, a); })) return;
    float* c = state.server.color;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    Set(kColor);
}

void APIENTRY Color3f(GLfloat r, GLfloat g, GLfloat b) { Color4f(r, g, b, 1.0f); }

void APIENTRY Normal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!KeepOutsidePrimitive([=] { Normal3f(x, y, z); })) return;
    float* n = state.server.normal;
    n[0] = x, n[1] = y, n[2] = z;
    Set(kNormal);
}

void APIENTRY TexCoord1f(GLfloat s) { MultiTexCoord4f(GL_TEXTURE0, s, 0, 0, 1); }
void APIENTRY TexCoord2f(GLfloat s, GLfloat t) { MultiTexCoord4f(GL_TEXTURE0, s, t, 0, 1); }
void APIENTRY MultiTexCoord1f(GLenum unit, GLfloat s) { MultiTexCoord4f(unit, s, 0, 0, 1); }
void APIENTRY MultiTexCoord2f(GLenum unit, GLfloat s, GLfloat t) { MultiTexCoord4f(unit, s, t, 0, 1); }
void APIENTRY MultiTexCoord3f(GLenum unit, GLfloat s, GLfloat t, GLfloat r) { MultiTexCoord4f(unit, s, t, r, 1); }

void APIENTRY MultiTexCoord4f(GLenum unit, GLfloat s, GLfloat t, GLfloat r, GLfloat q) {
    if (!KeepOutsidePrimitive([=] { MultiTexCoord4f(unit, s, t, r, q); })) return;
    SetTexCoord(static_cast<int>(unit) - GL_TEXTURE0, s, t, r, q);
}

void APIENTRY Weightf(GLfloat weight) {
    if (!KeepOutsidePrimitive([=] { Weightf(weight); })) return;
    state.server.weight = weight;
    Set(kWeight);
}

GLuint APIENTRY GenLists(GLsizei range) {
    if (range <= 0) return 0;
    const GLuint first = immediate.nextName;
    immediate.nextName += static_cast<GLuint>(range);
    return first;
}

void APIENTRY NewList(GLuint list, GLenum mode) {
    if (list == 0 || immediate.compiling || immediate.inside) return SetError(GL_INVALID_OPERATION);
    immediate.compiling = std::make_unique<DisplayList>();
    immediate.compilingName = list;
    immediate.compileMode = mode;
    immediate.beforeList = state.server;
    if (list >= immediate.nextName) immediate.nextName = list + 1;
}

void APIENTRY EndList() {
    if (!immediate.compiling || immediate.inside) return SetError(GL_INVALID_OPERATION);
    std::unique_ptr<DisplayList> list = std::move(immediate.compiling);
    ServerState& s = state.server;
    std::memcpy(list->color, s.color, sizeof list->color);
    std::memcpy(list->normal, s.normal, sizeof list->normal);
    list->weight = s.weight;
    std::memcpy(list->tex, s.texCoord, sizeof list->tex);
    if (immediate.compileMode == GL_COMPILE) {
        // Compiling alone changes no current value.
        std::memcpy(s.color, immediate.beforeList.color, sizeof s.color);
        std::memcpy(s.normal, immediate.beforeList.normal, sizeof s.normal);
        s.weight = immediate.beforeList.weight;
        std::memcpy(s.texCoord, immediate.beforeList.texCoord, sizeof s.texCoord);
    }
    std::size_t bytes = 0;
    for (PackedPrimitive& p : list->primitives) {
        p.base = bytes;
        bytes += (p.data.size() * sizeof(float) + 15) & ~static_cast<std::size_t>(15);
    }
    if (bytes > 0) {
        es.GenBuffers(1, &list->buffer);
        es.BindBuffer(GL_ARRAY_BUFFER, list->buffer);
        es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STATIC_DRAW);
        for (PackedPrimitive& p : list->primitives) {
            es.BufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(p.base),
                             static_cast<GLsizeiptr>(p.data.size() * sizeof(float)), p.data.data());
            p.data = std::vector<float>();   // the buffer holds them now
        }
    }
    DeleteLists(immediate.compilingName, 1);
    immediate.lists[immediate.compilingName] = std::move(list);
}

void APIENTRY CallList(GLuint name) {
    if (immediate.compiling) {
        immediate.compiling->commands.push_back([name] { CallList(name); });
        if (immediate.compileMode == GL_COMPILE) return;
    }
    auto found = immediate.lists.find(name);
    if (found == immediate.lists.end() || immediate.callDepth >= 64) return;
    const DisplayList& list = *found->second;
    ++immediate.callDepth;
    for (const auto& command : list.commands) command();
    --immediate.callDepth;
    ServerState& s = state.server;
    const unsigned set = list.currentSet;
    if (set & (1u << kColor)) std::memcpy(s.color, list.color, sizeof s.color);
    if (set & (1u << kNormal)) std::memcpy(s.normal, list.normal, sizeof s.normal);
    if (set & (1u << kWeight)) s.weight = list.weight;
    for (int u = 0; u < kUnits; ++u)
        if (set & (1u << (kTexCoord0 + u))) std::memcpy(s.texCoord[u], list.tex[u], sizeof s.texCoord[u]);
}

void APIENTRY DeleteLists(GLuint first, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i) {
        auto found = immediate.lists.find(first + static_cast<GLuint>(i));
        if (found == immediate.lists.end()) continue;
        if (found->second->buffer) es.DeleteBuffers(1, &found->second->buffer);
        immediate.lists.erase(found);
    }
}

GLboolean APIENTRY IsList(GLuint name) { return immediate.lists.count(name) ? GL_TRUE : GL_FALSE; }

void ReleaseLists() {
    for (auto& entry : immediate.lists)
        if (entry.second->buffer && es.DeleteBuffers) es.DeleteBuffers(1, &entry.second->buffer);
    immediate = Immediate();
}

}  // namespace gl_layers
