// gl_layers/shading_calls.cpp — the calls that set lights, the material, fog, texture
// environments and texture generation.
#include <cstring>

#include "gl_layers/display_lists.h"
#include "gl_layers/matrix_math.h"
#include "gl_layers/state_calls.h"

namespace gl_layers {

namespace {

// Transforms a position into eye space by the current model-view matrix.
void ToEye(const float in[4], float out[4]) { TransformPoint(state.modelView.Top().m, in, out); }

// The values of a vector call (at most four), copied for a list being compiled.
struct Values {
    float v[4] = {0, 0, 0, 0};
};

Values Copy(const GLfloat* v, int count) {
    Values out;
    std::memcpy(out.v, v, sizeof(float) * static_cast<std::size_t>(count));
    return out;
}

}  // namespace

void APIENTRY Lightfv(GLenum which, GLenum name, const GLfloat* v) {
    const bool vector = name == GL_AMBIENT || name == GL_DIFFUSE || name == GL_SPECULAR || name == GL_POSITION;
    const Values kept = Copy(v, vector ? 4 : name == GL_SPOT_DIRECTION ? 3 : 1);
    if (!RecordCall([=] { Lightfv(which, name, kept.v); })) return;
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
    const Values kept = Copy(v, name == GL_SHININESS ? 1 : name == GL_COLOR_INDEXES ? 3 : 4);
    if (!RecordCall([=] { Materialfv(face, name, kept.v); })) return;
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
    const Values kept = Copy(v, name == GL_FOG_COLOR ? 4 : 1);
    if (!RecordCall([=] { Fogfv(name, kept.v); })) return;
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
        const Values kept = Copy(v, 4);
        if (!RecordCall([=] { TexEnvfv(target, name, kept.v); })) return;
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
    if (!RecordCall([=] { TexGeni(coord, name, value); })) return;
    if (coord < GL_S || coord > GL_Q || name != GL_TEXTURE_GEN_MODE) return SetError(GL_INVALID_ENUM);
    state.server.units[state.server.activeUnit].gen[coord - GL_S].mode = static_cast<GLenum>(value);
    Changed();
}

}  // namespace gl_layers
