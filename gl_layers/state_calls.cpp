// gl_layers/state_calls.cpp — the calls that only change the fixed-function state: switches,
// matrices, fragment operations, viewport and scissor, pixel storage (lights, the material, fog
// and the texture environments are in shading_calls.cpp).
#include "gl_layers/state_calls.h"

#include <algorithm>
#include <cstring>

#include "gl_layers/display_lists.h"
#include "gl_layers/gles_calls.h"
#include "gl_layers/matrix_math.h"

namespace gl_layers {

FixedState state;

void SetError(GLenum error) {
    if (state.error == GL_NO_ERROR) state.error = error;
}

MatrixStack& CurrentStack() {
    switch (state.server.matrixMode) {
        case GL_PROJECTION: return state.projection;
        case GL_TEXTURE: return state.server.units[state.server.activeUnit].matrix;
        case GL_MODELVIEW1_EXT: return state.weightMatrix;
        default: return state.modelView;
    }
}

namespace {

// The switch a capability names; null for one the layer does not keep.
bool* Capability(GLenum cap) {
    ServerState& s = state.server;
    TextureUnit& unit = s.units[s.activeUnit];
    switch (cap) {
        case GL_LIGHTING: return &s.lighting;
        case GL_FOG: return &s.fog;
        case GL_DEPTH_TEST: return &s.depthTest;
        case GL_CULL_FACE: return &s.cullFace;
        case GL_BLEND: return &s.blend;
        case GL_ALPHA_TEST: return &s.alphaTest;
        case GL_SCISSOR_TEST: return &s.scissorTest;
        case GL_NORMALIZE: return &s.normalize;
        case GL_VERTEX_WEIGHTING_EXT: return &s.weighting;
        case GL_DITHER: return &s.dither;
        case GL_STENCIL_TEST: return &s.stencilTest;
        case GL_TEXTURE_1D: return &unit.enabled1D;
        case GL_TEXTURE_2D: return &unit.enabled2D;
        case GL_TEXTURE_GEN_S: return &unit.gen[0].enabled;
        case GL_TEXTURE_GEN_T: return &unit.gen[1].enabled;
        case GL_TEXTURE_GEN_R: return &unit.gen[2].enabled;
        case GL_TEXTURE_GEN_Q: return &unit.gen[3].enabled;
        default: break;
    }
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLights) return &s.lights[cap - GL_LIGHT0].enabled;
    return nullptr;
}

void SetCapability(GLenum cap, bool on) {
    if (!RecordCall([=] { SetCapability(cap, on); })) return;
    bool* flag = Capability(cap);
    if (!flag) return SetError(GL_INVALID_ENUM);
    if (*flag != on) Changed();
    *flag = on;
}

void MatrixChanged(MatrixStack& stack) {
    stack.Top().identity = false;
    Changed();
}

}  // namespace

void APIENTRY Enable(GLenum cap) { SetCapability(cap, true); }
void APIENTRY Disable(GLenum cap) { SetCapability(cap, false); }

GLboolean APIENTRY IsEnabled(GLenum cap) {
    const bool* flag = Capability(cap);
    if (!flag) {
        SetError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return *flag ? GL_TRUE : GL_FALSE;
}

void APIENTRY MatrixMode(GLenum mode) {
    if (!RecordCall([=] { MatrixMode(mode); })) return;
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE && mode != GL_MODELVIEW1_EXT)
        return SetError(GL_INVALID_ENUM);
    state.server.matrixMode = mode;
}

void APIENTRY LoadIdentity() {
    if (!RecordCall([] { LoadIdentity(); })) return;
    CurrentStack().Top() = Matrix();
    Changed();
}

void APIENTRY LoadMatrixf(const GLfloat* m) {
    Matrix matrix;
    std::memcpy(matrix.m, m, sizeof matrix.m);
    if (!RecordCall([matrix] { LoadMatrixf(matrix.m); })) return;
    MatrixStack& stack = CurrentStack();
    stack.Top() = matrix;
    // An identity loaded as numbers is still the identity: the draws skip it as for glLoadIdentity.
    stack.Top().identity = std::memcmp(matrix.m, Matrix().m, sizeof matrix.m) == 0;
    Changed();
}

void MultMatrixf(const GLfloat* m) {
    Matrix matrix;
    std::memcpy(matrix.m, m, sizeof matrix.m);
    if (!RecordCall([matrix] { MultMatrixf(matrix.m); })) return;
    MatrixStack& stack = CurrentStack();
    MultiplyMatrix(stack.Top(), m);
    MatrixChanged(stack);
}

void APIENTRY PushMatrix() {
    if (!RecordCall([] { PushMatrix(); })) return;
    MatrixStack& stack = CurrentStack();
    if (static_cast<int>(stack.entries.size()) >= stack.limit) return SetError(GL_STACK_OVERFLOW);
    stack.entries.push_back(stack.Top());
}

void APIENTRY PopMatrix() {
    if (!RecordCall([] { PopMatrix(); })) return;
    MatrixStack& stack = CurrentStack();
    if (stack.entries.size() <= 1) return SetError(GL_STACK_UNDERFLOW);
    stack.entries.pop_back();
    Changed();
}

void APIENTRY Translatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!RecordCall([=] { Translatef(x, y, z); })) return;
    MatrixStack& stack = CurrentStack();
    TranslateMatrix(stack.Top(), x, y, z);
    MatrixChanged(stack);
}

void APIENTRY Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!RecordCall([=] { Rotatef(angle, x, y, z); })) return;
    MatrixStack& stack = CurrentStack();
    RotateMatrix(stack.Top(), angle, x, y, z);
    MatrixChanged(stack);
}

void APIENTRY Scalef(GLfloat x, GLfloat y, GLfloat z) {
    if (!RecordCall([=] { Scalef(x, y, z); })) return;
    MatrixStack& stack = CurrentStack();
    ScaleMatrix(stack.Top(), x, y, z);
    MatrixChanged(stack);
}

void APIENTRY Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearValue, GLdouble farValue) {
    if (!RecordCall([=] { Ortho(left, right, bottom, top, nearValue, farValue); })) return;
    MatrixStack& stack = CurrentStack();
    OrthoMatrix(stack.Top(), static_cast<float>(left), static_cast<float>(right), static_cast<float>(bottom),
                static_cast<float>(top), static_cast<float>(nearValue), static_cast<float>(farValue));
    MatrixChanged(stack);
}

void APIENTRY ActiveTexture(GLenum unit) {
    if (!RecordCall([=] { ActiveTexture(unit); })) return;
    const int index = static_cast<int>(unit) - GL_TEXTURE0;
    if (index < 0 || index >= kUnits) return SetError(GL_INVALID_ENUM);
    state.server.activeUnit = index;
}

void APIENTRY AlphaFunc(GLenum function, GLclampf reference) {
    if (!RecordCall([=] { AlphaFunc(function, reference); })) return;
    state.server.alphaFunction = function;
    state.server.alphaReference = std::clamp(reference, 0.0f, 1.0f);
    Changed();
}

void APIENTRY BlendFunc(GLenum source, GLenum destination) {
    if (!RecordCall([=] { BlendFunc(source, destination); })) return;
    state.server.blendSource = source;
    state.server.blendDestination = destination;
}

void APIENTRY DepthFunc(GLenum function) {
    if (!RecordCall([=] { DepthFunc(function); })) return;
    state.server.depthFunction = function;
}

void APIENTRY DepthMask(GLboolean flag) {
    if (!RecordCall([=] { DepthMask(flag); })) return;
    state.server.depthMask = flag != GL_FALSE;
}

void APIENTRY DepthRange(GLclampd nearValue, GLclampd farValue) {
    if (!RecordCall([=] { DepthRange(nearValue, farValue); })) return;
    state.server.depthRange[0] = static_cast<float>(std::clamp(nearValue, 0.0, 1.0));
    state.server.depthRange[1] = static_cast<float>(std::clamp(farValue, 0.0, 1.0));
}

void APIENTRY CullFace(GLenum mode) {
    if (!RecordCall([=] { CullFace(mode); })) return;
    state.server.cullMode = mode;
}

void APIENTRY FrontFace(GLenum mode) {
    if (!RecordCall([=] { FrontFace(mode); })) return;
    state.server.frontFace = mode;
}

void APIENTRY ShadeModel(GLenum mode) {
    if (!RecordCall([=] { ShadeModel(mode); })) return;
    state.server.shadeModel = mode;
}

void APIENTRY Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!RecordCall([=] { Viewport(x, y, width, height); })) return;
    GLint* v = state.server.viewport;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
}

void APIENTRY Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!RecordCall([=] { Scissor(x, y, width, height); })) return;
    GLint* v = state.server.scissor;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
}

void APIENTRY ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    if (!RecordCall([=] { ClearColor(r, g, b, a); })) return;
    float* c = state.server.clearColor;
    c[0] = std::clamp(r, 0.0f, 1.0f), c[1] = std::clamp(g, 0.0f, 1.0f);
    c[2] = std::clamp(b, 0.0f, 1.0f), c[3] = std::clamp(a, 0.0f, 1.0f);
}

void APIENTRY PixelStorei(GLenum name, GLint value) {
    ClientState& c = state.client;
    switch (name) {
        case GL_UNPACK_ALIGNMENT: c.unpackAlignment = value; break;
        case GL_UNPACK_ROW_LENGTH: c.unpackRowLength = value; break;
        case GL_PACK_ALIGNMENT: c.packAlignment = value; break;
        case GL_PACK_ROW_LENGTH: c.packRowLength = value; break;
        default: SetError(GL_INVALID_ENUM); break;
    }
}

void APIENTRY PixelZoom(GLfloat x, GLfloat y) {
    if (!RecordCall([=] { PixelZoom(x, y); })) return;
    state.server.zoom[0] = x;
    state.server.zoom[1] = y;
}

// The layer's own errors first, then the ES driver's (which would be the layer's faults).
GLenum APIENTRY GetError() {
    const GLenum error = state.error;
    state.error = GL_NO_ERROR;
    return error != GL_NO_ERROR ? error : es.GetError();
}

}  // namespace gl_layers
