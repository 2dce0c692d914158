// gl_layers/immediate.cpp — immediate-mode primitives and the current vertex attributes.
#include "gl_layers/immediate.h"

#include <cstring>
#include <utility>

#include "gl_layers/display_lists.h"

namespace gl_layers {

namespace {

struct Immediate {
    bool inside = false;
    GLenum mode = GL_POINTS;
    unsigned varying = 0;
    std::vector<FullVertex> vertices;
};

Immediate immediate;

void Set(unsigned attribute) {
    if (immediate.inside) immediate.varying |= 1u << attribute;
}

void AddVertex(float x, float y, float z, float w) {
    if (!immediate.inside) return;
    const ServerState& s = state.server;
    FullVertex v;
    v.position[0] = x, v.position[1] = y, v.position[2] = z, v.position[3] = w;
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

// Outside glBegin/glEnd a current value also goes into a list being compiled, as a call; it is
// set there too, so that the list's later vertices take it (the list puts the values back when
// it ends, where it was only compiled).
template <typename Call>
void KeepCurrentValue(Call&& call) {
    if (!immediate.inside && CompilingList()) RecordCall(std::forward<Call>(call));
}

}  // namespace

bool InsidePrimitive() { return immediate.inside; }

void APIENTRY Begin(GLenum mode) {
    if (immediate.inside) return SetError(GL_INVALID_OPERATION);
    if (mode > GL_POLYGON) return SetError(GL_INVALID_ENUM);
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
    const PackedPrimitive* drawn = &p;
    if (CompilingList()) drawn = KeepPrimitive(std::move(p), immediate.varying);
    if (drawn) DrawPacked(*drawn, VertexStream(), StreamVertices(drawn->data.data(), drawn->data.size() * sizeof(float)));
}

void APIENTRY Vertex2f(GLfloat x, GLfloat y) { AddVertex(x, y, 0.0f, 1.0f); }
void APIENTRY Vertex2i(GLint x, GLint y) { AddVertex(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f); }
void APIENTRY Vertex3f(GLfloat x, GLfloat y, GLfloat z) { AddVertex(x, y, z, 1.0f); }
void Vertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) { AddVertex(x, y, z, w); }

void APIENTRY Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    KeepCurrentValue([=] { Color4f(r, g, b, a); });
    float* c = state.server.color;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    Set(kColor);
}

void APIENTRY Color3f(GLfloat r, GLfloat g, GLfloat b) { Color4f(r, g, b, 1.0f); }

void APIENTRY Normal3f(GLfloat x, GLfloat y, GLfloat z) {
    KeepCurrentValue([=] { Normal3f(x, y, z); });
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
    KeepCurrentValue([=] { MultiTexCoord4f(unit, s, t, r, q); });
    SetTexCoord(static_cast<int>(unit) - GL_TEXTURE0, s, t, r, q);
}

void APIENTRY Weightf(GLfloat weight) {
    KeepCurrentValue([=] { Weightf(weight); });
    state.server.weight = weight;
    Set(kWeight);
}

}  // namespace gl_layers
