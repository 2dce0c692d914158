// gl_layers/queries.cpp — glGet* answered from the layer's state, the strings, and the ES
// driver's own limits.
#include "gl_layers/queries.h"

#include <cstring>
#include <string>

#include "gl_layers/framebuffers.h"
#include "gl_layers/gles_calls.h"

namespace gl_layers {

namespace {

// Every value a query asks for, as floats (or -1 values when the layer does not keep it).
int Values(GLenum name, float* out) {
    const ServerState& s = state.server;
    auto copy = [&](const float* from, int n) {
        std::memcpy(out, from, sizeof(float) * static_cast<std::size_t>(n));
        return n;
    };
    auto one = [&](float value) {
        out[0] = value;
        return 1;
    };
    switch (name) {
        case GL_MODELVIEW_MATRIX: return copy(state.modelView.Top().m, 16);
        case GL_PROJECTION_MATRIX: return copy(state.projection.Top().m, 16);
        case GL_TEXTURE_MATRIX: return copy(s.units[s.activeUnit].matrix.Top().m, 16);
        case GL_VIEWPORT:
            for (int i = 0; i < 4; ++i) out[i] = static_cast<float>(s.viewport[i]);
            return 4;
        case GL_SCISSOR_BOX:
            for (int i = 0; i < 4; ++i) out[i] = static_cast<float>(s.scissor[i]);
            return 4;
        case GL_COLOR_CLEAR_VALUE: return copy(s.clearColor, 4);
        case GL_CURRENT_COLOR: return copy(s.color, 4);
        case GL_CURRENT_NORMAL: return copy(s.normal, 3);
        case GL_CURRENT_TEXTURE_COORDS: return copy(s.texCoord[s.activeUnit], 4);
        case GL_FOG_START: return one(s.fogStart);
        case GL_FOG_END: return one(s.fogEnd);
        case GL_FOG_DENSITY: return one(s.fogDensity);
        case GL_FOG_COLOR: return copy(s.fogColor, 4);
        case GL_FOG_MODE: return one(static_cast<float>(s.fogMode));
        case GL_ZOOM_X: return one(s.zoom[0]);
        case GL_ZOOM_Y: return one(s.zoom[1]);
        case GL_ALPHA_TEST_REF: return one(s.alphaReference);
        case GL_ALPHA_TEST_FUNC: return one(static_cast<float>(s.alphaFunction));
        case GL_DEPTH_RANGE: return copy(s.depthRange, 2);
        case GL_CURRENT_RASTER_POSITION: return copy(s.rasterPos, 4);
        default: return 0;
    }
}

// The same for the enumerations and names, as integers.
bool IntegerValue(GLenum name, GLint& out) {
    const ServerState& s = state.server;
    switch (name) {
        case GL_ACTIVE_TEXTURE: out = static_cast<GLint>(GL_TEXTURE0 + s.activeUnit); return true;
        case GL_CLIENT_ACTIVE_TEXTURE: out = static_cast<GLint>(GL_TEXTURE0 + state.client.clientActiveUnit); return true;
        case GL_BLEND_SRC: out = static_cast<GLint>(s.blendSource); return true;
        case GL_BLEND_DST: out = static_cast<GLint>(s.blendDestination); return true;
        case GL_DEPTH_FUNC: out = static_cast<GLint>(s.depthFunction); return true;
        case GL_FRONT_FACE: out = static_cast<GLint>(s.frontFace); return true;
        case GL_CULL_FACE_MODE: out = static_cast<GLint>(s.cullMode); return true;
        case GL_SHADE_MODEL: out = static_cast<GLint>(s.shadeModel); return true;
        case GL_MATRIX_MODE: out = static_cast<GLint>(s.matrixMode); return true;
        case GL_MAX_TEXTURE_UNITS: out = kUnits; return true;
        case GL_MAX_LIGHTS: out = kLights; return true;
        case GL_TEXTURE_BINDING_1D: out = static_cast<GLint>(s.units[s.activeUnit].bound1D); return true;
        case GL_TEXTURE_BINDING_2D: out = static_cast<GLint>(s.units[s.activeUnit].bound2D); return true;
        case GL_MODELVIEW_STACK_DEPTH: out = static_cast<GLint>(state.modelView.entries.size()); return true;
        case GL_PROJECTION_STACK_DEPTH: out = static_cast<GLint>(state.projection.entries.size()); return true;
        case GL_TEXTURE_STACK_DEPTH:
            out = static_cast<GLint>(s.units[s.activeUnit].matrix.entries.size());
            return true;
        case GL_ATTRIB_STACK_DEPTH: out = static_cast<GLint>(state.attribStack.size()); return true;
        case GL_UNPACK_ALIGNMENT: out = state.client.unpackAlignment; return true;
        case GL_UNPACK_ROW_LENGTH: out = state.client.unpackRowLength; return true;
        case GL_PACK_ALIGNMENT: out = state.client.packAlignment; return true;
        case GL_FRAMEBUFFER_BINDING: out = static_cast<GLint>(ProgramFramebuffer(GL_DRAW_FRAMEBUFFER)); return true;
        case GL_READ_FRAMEBUFFER_BINDING: out = static_cast<GLint>(ProgramFramebuffer(GL_READ_FRAMEBUFFER)); return true;
        case GL_DEPTH_WRITEMASK: out = s.depthMask ? 1 : 0; return true;
        default: return false;
    }
}

}  // namespace

void APIENTRY GetFloatv(GLenum name, GLfloat* values) {
    float v[16];
    const int n = Values(name, v);
    if (n > 0) return static_cast<void>(std::memcpy(values, v, sizeof(float) * static_cast<std::size_t>(n)));
    GLint i = 0;
    if (IntegerValue(name, i)) return static_cast<void>(values[0] = static_cast<GLfloat>(i));
    GLint driver[4] = {};
    es.GetIntegerv(name, driver);
    values[0] = static_cast<GLfloat>(driver[0]);
}

void APIENTRY GetDoublev(GLenum name, GLdouble* values) {
    float v[16];
    const int n = Values(name, v);
    for (int i = 0; i < n; ++i) values[i] = v[i];
    if (n == 0) SetError(GL_INVALID_ENUM);
}

void APIENTRY GetIntegerv(GLenum name, GLint* values) {
    if (IntegerValue(name, values[0])) return;
    float v[16];
    const int n = Values(name, v);
    for (int i = 0; i < n; ++i) values[i] = static_cast<GLint>(v[i]);
    if (n == 0) es.GetIntegerv(name, values);
}

const GLubyte* APIENTRY GetString(GLenum name) {
    static std::string version, extensions;
    switch (name) {
        case GL_VERSION:
            version = std::string("1.3 (OpenGL 1.x layer over ") +
                      reinterpret_cast<const char*>(es.GetString(GL_VERSION)) + ")";
            return reinterpret_cast<const GLubyte*>(version.c_str());
        case GL_EXTENSIONS:
            extensions = LayerExtensions();
            return reinterpret_cast<const GLubyte*>(extensions.c_str());
        default:
            return es.GetString(name);
    }
}

bool EsHasExtension(const char* name) {
    const char* list = reinterpret_cast<const char*>(es.GetString(GL_EXTENSIONS));
    if (!list) return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p; p = std::strstr(p + 1, name))
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}

std::string LayerExtensions() {
    std::string list =
        "GL_ARB_multitexture GL_EXT_texture_env_combine GL_ARB_texture_env_combine GL_ARB_texture_env_dot3 "
        "GL_EXT_texture_env_dot3 GL_ATI_texture_env_combine3 GL_EXT_texture_env_add GL_ARB_texture_env_add "
        "GL_EXT_vertex_weighting GL_EXT_compiled_vertex_array";
    if (EsHasExtension("GL_EXT_texture_filter_anisotropic")) list += " GL_EXT_texture_filter_anisotropic";
    return list;
}

}  // namespace gl_layers
