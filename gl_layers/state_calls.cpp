// gl_layers/state_calls.cpp — the calls that only change the fixed-function state.
#include "gl_layers/state_calls.h"

#include <algorithm>
#include <cstring>

#include "gl_layers/gles_calls.h"
#include "gl_layers/immediate.h"
#include "gl_layers/matrix_math.h"

#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#endif

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

// Transforms a position into eye space by the current model-view matrix.
void ToEye(const float in[4], float out[4]) { TransformPoint(state.modelView.Top().m, in, out); }

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

void APIENTRY Lightfv(GLenum which, GLenum name, const GLfloat* v) {
    if (which < GL_LIGHT0 || which >= GL_LIGHT0 + kLights) return SetError(GL_INVALID_ENUM);
    Light& light = state.server.lights[which - GL_LIGHT0];
    switch (name) {
        case GL_AMBIENT: std::memcpy(light.ambient, v, sizeof light.ambient); break;
        case GL_DIFFUSE: std::memcpy(light.diffuse, v, sizeof light.diffuse); break;
        case GL_SPECULAR: std::memcpy(light.specular, v, sizeof light.specular); break;
        case GL_POSITION: ToEye(v, light.position); break;
        case GL_SPOT_DIRECTION: {
            const float direction[4] = {v[0], v[1], v[2], 0.0f};
            float eye[4];
            ToEye(direction, eye);
            std::memcpy(light.spotDirection, eye, sizeof light.spotDirection);
            break;
        }
        case GL_SPOT_EXPONENT: light.spotExponent = v[0]; break;
        case GL_SPOT_CUTOFF: light.spotCutoff = v[0]; break;
        case GL_CONSTANT_ATTENUATION: light.attenuation[0] = v[0]; break;
        case GL_LINEAR_ATTENUATION: light.attenuation[1] = v[0]; break;
        case GL_QUADRATIC_ATTENUATION: light.attenuation[2] = v[0]; break;
        default: return SetError(GL_INVALID_ENUM);
    }
    Changed();
}

void APIENTRY Lightf(GLenum which, GLenum name, GLfloat value) {
    const GLfloat v[4] = {value, 0, 0, 0};
    Lightfv(which, name, v);
}

void APIENTRY Materialfv(GLenum face, GLenum name, const GLfloat* v) {
    (void)face;   // both sides light alike: two-sided lighting is not in use
    Material& m = state.server.material;
    switch (name) {
        case GL_AMBIENT: std::memcpy(m.ambient, v, sizeof m.ambient); break;
        case GL_DIFFUSE: std::memcpy(m.diffuse, v, sizeof m.diffuse); break;
        case GL_AMBIENT_AND_DIFFUSE:
            std::memcpy(m.ambient, v, sizeof m.ambient);
            std::memcpy(m.diffuse, v, sizeof m.diffuse);
            break;
        case GL_SPECULAR: std::memcpy(m.specular, v, sizeof m.specular); break;
        case GL_EMISSION: std::memcpy(m.emission, v, sizeof m.emission); break;
        case GL_SHININESS: m.shininess = v[0]; break;
        default: return SetError(GL_INVALID_ENUM);
    }
    Changed();
}

void APIENTRY Fogfv(GLenum name, const GLfloat* v) {
    ServerState& s = state.server;
    switch (name) {
        case GL_FOG_MODE: s.fogMode = static_cast<GLenum>(v[0]); break;
        case GL_FOG_DENSITY: s.fogDensity = v[0]; break;
        case GL_FOG_START: s.fogStart = v[0]; break;
        case GL_FOG_END: s.fogEnd = v[0]; break;
        case GL_FOG_COLOR: std::memcpy(s.fogColor, v, sizeof s.fogColor); break;
        default: return SetError(GL_INVALID_ENUM);
    }
    Changed();
}

void APIENTRY Fogf(GLenum name, GLfloat value) {
    if (name == GL_FOG_COLOR) return SetError(GL_INVALID_ENUM);
    const GLfloat v[4] = {value, 0, 0, 0};
    Fogfv(name, v);
}

void APIENTRY Fogi(GLenum name, GLint value) { Fogf(name, static_cast<GLfloat>(value)); }

void APIENTRY TexEnvfv(GLenum target, GLenum name, const GLfloat* v) {
    if (target != GL_TEXTURE_ENV) return SetError(GL_INVALID_ENUM);
    if (name == GL_TEXTURE_ENV_COLOR) {
        std::memcpy(state.server.units[state.server.activeUnit].envColor, v, sizeof(float) * 4);
        Changed();
        return;
    }
    TexEnvi(target, name, static_cast<GLint>(v[0]));
}

void APIENTRY TexEnvi(GLenum target, GLenum name, GLint value) {
    if (!RecordCall([=] { TexEnvi(target, name, value); })) return;
    TextureUnit& unit = state.server.units[state.server.activeUnit];
    Combiner& c = unit.combiner;
    const GLenum v = static_cast<GLenum>(value);
    switch (name) {
        case GL_TEXTURE_ENV_MODE: unit.envMode = v; break;
        case GL_COMBINE_RGB_EXT: c.rgbFunction = v; break;
        case GL_COMBINE_ALPHA_EXT: c.alphaFunction = v; break;
        case GL_SOURCE0_RGB_EXT: case GL_SOURCE1_RGB_EXT: case GL_SOURCE2_RGB_EXT:
            c.rgbSource[name - GL_SOURCE0_RGB_EXT] = v;
            break;
        case GL_SOURCE0_ALPHA_EXT: case GL_SOURCE1_ALPHA_EXT: case GL_SOURCE2_ALPHA_EXT:
            c.alphaSource[name - GL_SOURCE0_ALPHA_EXT] = v;
            break;
        case GL_OPERAND0_RGB_EXT: case GL_OPERAND1_RGB_EXT: case GL_OPERAND2_RGB_EXT:
            c.rgbOperand[name - GL_OPERAND0_RGB_EXT] = v;
            break;
        case GL_OPERAND0_ALPHA_EXT: case GL_OPERAND1_ALPHA_EXT: case GL_OPERAND2_ALPHA_EXT:
            c.alphaOperand[name - GL_OPERAND0_ALPHA_EXT] = v;
            break;
        case GL_RGB_SCALE_EXT: c.rgbScale = static_cast<float>(value); break;
        case GL_ALPHA_SCALE: c.alphaScale = static_cast<float>(value); break;
        default: return SetError(GL_INVALID_ENUM);
    }
    Changed();
}

void APIENTRY TexGeni(GLenum coord, GLenum name, GLint value) {
    if (coord < GL_S || coord > GL_Q || name != GL_TEXTURE_GEN_MODE) return SetError(GL_INVALID_ENUM);
    state.server.units[state.server.activeUnit].gen[coord - GL_S].mode = static_cast<GLenum>(value);
    Changed();
}

void APIENTRY ActiveTexture(GLenum unit) {
    if (!RecordCall([=] { ActiveTexture(unit); })) return;
    const int index = static_cast<int>(unit) - GL_TEXTURE0;
    if (index < 0 || index >= kUnits) return SetError(GL_INVALID_ENUM);
    state.server.activeUnit = index;
}

void APIENTRY AlphaFunc(GLenum function, GLclampf reference) {
    state.server.alphaFunction = function;
    state.server.alphaReference = std::clamp(reference, 0.0f, 1.0f);
    Changed();
}

void APIENTRY BlendFunc(GLenum source, GLenum destination) {
    if (!RecordCall([=] { BlendFunc(source, destination); })) return;
    state.server.blendSource = source;
    state.server.blendDestination = destination;
}

void APIENTRY DepthFunc(GLenum function) { state.server.depthFunction = function; }
void APIENTRY DepthMask(GLboolean flag) { state.server.depthMask = flag != GL_FALSE; }

void APIENTRY DepthRange(GLclampd nearValue, GLclampd farValue) {
    state.server.depthRange[0] = static_cast<float>(std::clamp(nearValue, 0.0, 1.0));
    state.server.depthRange[1] = static_cast<float>(std::clamp(farValue, 0.0, 1.0));
}

void APIENTRY CullFace(GLenum mode) { state.server.cullMode = mode; }
void APIENTRY FrontFace(GLenum mode) {
    if (!RecordCall([=] { FrontFace(mode); })) return;
    state.server.frontFace = mode;
}

void APIENTRY ShadeModel(GLenum mode) { state.server.shadeModel = mode; }

void APIENTRY Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    GLint* v = state.server.viewport;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
}

void APIENTRY Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    GLint* v = state.server.scissor;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
}

void APIENTRY ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
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
