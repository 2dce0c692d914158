// gl_layers/vertex_weighting.cpp — the vertex program behind our vertex weighting.
#include "gl_layers/vertex_weighting.h"

#include "gl_layers/token_routes.h"
#include "gl_layers/vertex_program.h"
#include "platform/window.h"

namespace gl_layers {

namespace {

// The weight's generic attribute: 6 and 7 are the two that alias nothing conventional.
constexpr GLuint kWeightAttribute = 6;

// Eye position and normal are blended from the model-view matrix and program matrix 0, the
// normal renormalised (the blend of two unit normals is shorter). Unit 0 gets sphere-map
// coordinates from the blended eye position and normal, unit 1 its own, each through its
// texture matrix; the colour passes through, the fog coordinate is |z| in the eye.
const char kProgram[] =
    "!!ARBvp1.0\n"
    "ATTRIB position = vertex.position;\n"
    "ATTRIB normal = vertex.normal;\n"
    "ATTRIB weight = vertex.attrib[6];\n"
    "PARAM model0[4] = { state.matrix.modelview };\n"
    "PARAM model1[4] = { state.matrix.program[0] };\n"
    "PARAM normal0[4] = { state.matrix.modelview.invtrans };\n"
    "PARAM normal1[4] = { state.matrix.program[0].invtrans };\n"
    "PARAM projection[4] = { state.matrix.projection };\n"
    "PARAM texture0[4] = { state.matrix.texture[0] };\n"
    "PARAM texture1[4] = { state.matrix.texture[1] };\n"
    "TEMP eye0, eye1, eye, n0, n1, n, u, r, s, scalar;\n"
    "DP4 eye0.x, model0[0], position;\n"
    "DP4 eye0.y, model0[1], position;\n"
    "DP4 eye0.z, model0[2], position;\n"
    "DP4 eye0.w, model0[3], position;\n"
    "DP4 eye1.x, model1[0], position;\n"
    "DP4 eye1.y, model1[1], position;\n"
    "DP4 eye1.z, model1[2], position;\n"
    "DP4 eye1.w, model1[3], position;\n"
    "SUB eye, eye0, eye1;\n"
    "MAD eye, weight.x, eye, eye1;\n"
    "DP3 n0.x, normal0[0], normal;\n"
    "DP3 n0.y, normal0[1], normal;\n"
    "DP3 n0.z, normal0[2], normal;\n"
    "DP3 n1.x, normal1[0], normal;\n"
    "DP3 n1.y, normal1[1], normal;\n"
    "DP3 n1.z, normal1[2], normal;\n"
    "SUB n.xyz, n0, n1;\n"
    "MAD n.xyz, weight.x, n, n1;\n"
    "DP3 scalar.x, n, n;\n"
    "RSQ scalar.x, scalar.x;\n"
    "MUL n.xyz, n, scalar.x;\n"
    "DP4 result.position.x, projection[0], eye;\n"
    "DP4 result.position.y, projection[1], eye;\n"
    "DP4 result.position.z, projection[2], eye;\n"
    "DP4 result.position.w, projection[3], eye;\n"
    // Sphere map: u = the unit vector to the vertex, r = u - 2 (n.u) n,
    // m = 2 sqrt(rx^2 + ry^2 + (rz + 1)^2), (s, t) = (rx, ry) / m + 0.5.
    "DP3 scalar.y, eye, eye;\n"
    "RSQ scalar.y, scalar.y;\n"
    "MUL u.xyz, eye, scalar.y;\n"
    "DP3 scalar.z, n, u;\n"
    "ADD scalar.z, scalar.z, scalar.z;\n"
    "MAD r.xyz, n, -scalar.z, u;\n"
    "ADD r.z, r.z, 1.0;\n"
    "DP3 scalar.w, r, r;\n"
    "RSQ scalar.w, scalar.w;\n"
    "MUL scalar.w, scalar.w, 0.5;\n"
    "MAD s.xy, r, scalar.w, 0.5;\n"
    "MOV s.z, 0.0;\n"
    "MOV s.w, 1.0;\n"
    "DP4 result.texcoord[0].x, texture0[0], s;\n"
    "DP4 result.texcoord[0].y, texture0[1], s;\n"
    "DP4 result.texcoord[0].z, texture0[2], s;\n"
    "DP4 result.texcoord[0].w, texture0[3], s;\n"
    "DP4 result.texcoord[1].x, texture1[0], vertex.texcoord[1];\n"
    "DP4 result.texcoord[1].y, texture1[1], vertex.texcoord[1];\n"
    "DP4 result.texcoord[1].z, texture1[2], vertex.texcoord[1];\n"
    "DP4 result.texcoord[1].w, texture1[3], vertex.texcoord[1];\n"
    "MOV result.color, vertex.color;\n"
    "ABS result.fogcoord.x, eye.z;\n"
    "END\n";

// The layer's state in one context: the program, the context it was compiled in, and what
// the scene switched on.
struct WeightingLayer {
    bool installed = false;
    GLuint program = 0;
    unsigned context = 0;   // platform::ContextGeneration() when the program was compiled
    bool weightingOn = false;
    bool arrayOn = false;
    bool pointerGiven = false;
};

WeightingLayer layer;

// The weight array reaches the driver only once it has a pointer: enabling an array with
// none would have the next array draw read from address 0.
void UpdateWeightArray() {
    if (layer.arrayOn && layer.pointerGiven) VertexAttribs().enableArray(kWeightAttribute);
    else VertexAttribs().disableArray(kWeightAttribute);
}

}  // namespace

bool InstallVertexWeighting() {
    const unsigned context = platform::ContextGeneration();
    if (layer.installed && layer.context == context) return true;
    layer = WeightingLayer();   // a program from an earlier context names nothing in this one
    layer.program = CompileVertexProgram(kProgram, "vertex weighting");
    if (layer.program == 0) return false;
    VertexAttribs().attrib1f(kWeightAttribute, 1.0f);   // the extension's initial weight
    layer.context = context;
    layer.installed = true;
    RouteExtensionTokens();
    return true;
}

void RemoveVertexWeighting() {
    if (layer.installed && platform::IsWindowOpen() && layer.context == platform::ContextGeneration()) {
        if (layer.weightingOn) UseVertexProgram(0);
        VertexAttribs().disableArray(kWeightAttribute);
        DeleteVertexProgram(layer.program);
    }
    layer = WeightingLayer();
}

WeightingSource VertexWeightingSource() { return layer.installed ? WeightingSource::Ours : WeightingSource::Driver; }

void VertexWeightf(GLfloat weight) { VertexAttribs().attrib1f(kWeightAttribute, weight); }

void VertexWeightPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    VertexAttribs().pointer(kWeightAttribute, size, type, GL_FALSE, stride, pointer);
    layer.pointerGiven = pointer != nullptr;
    UpdateWeightArray();
}

bool VertexWeightingInstalled() { return layer.installed; }

void SetVertexWeighting(bool on) {
    UseVertexProgram(on ? layer.program : 0);
    layer.weightingOn = on;
}

bool VertexWeightingOn() { return layer.weightingOn; }

void SelectWeightMatrix() { glMatrixMode(GL_MATRIX0_ARB); }

void SetWeightArray(bool on) {
    layer.arrayOn = on;
    UpdateWeightArray();
}

}  // namespace gl_layers
