// gl_layers/draw.cpp — from the fixed-function state to an ES draw.
#include "gl_layers/draw.h"

#include <cmath>
#include <cstring>

#include "gl_layers/gles_calls.h"
#include "gl_layers/matrix_math.h"
#include "gl_layers/program_cache.h"
#include "gl_layers/textures.h"

namespace gl_layers {

namespace {

constexpr std::size_t kVertexStreamBytes = 16u << 20;
constexpr std::size_t kIndexStreamBytes = 4u << 20;

// A buffer filled front to back and orphaned when full, as WebGL allows (no mapping).
struct Stream {
    GLuint buffer = 0;
    GLenum target = 0;
    std::size_t size = 0, used = 0;

    std::uintptr_t Put(const void* data, std::size_t bytes) {
        const std::size_t start = (used + 15) & ~static_cast<std::size_t>(15);
        es.BindBuffer(target, buffer);
        if (bytes > size) {
            size = bytes * 2;
            es.BufferData(target, static_cast<GLsizeiptr>(size), nullptr, GL_STREAM_DRAW);
            used = 0;
        } else if (start + bytes > size) {
            es.BufferData(target, static_cast<GLsizeiptr>(size), nullptr, GL_STREAM_DRAW);
            used = 0;
        } else {
            used = start;
        }
        es.BufferSubData(target, static_cast<GLintptr>(used), static_cast<GLsizeiptr>(bytes), data);
        const std::uintptr_t at = used;
        used += bytes;
        return at;
    }
};

// What ES was last told, so unchanged state is not sent again.
struct Applied {
    bool known = false;
    bool blend = false, depthTest = false, cullFace = false, scissorTest = false, depthMask = true;
    GLenum blendSource = 0, blendDestination = 0, depthFunction = 0, cullMode = 0, frontFace = 0;
    bool colorMask[4] = {};
    GLint viewport[4] = {}, scissor[4] = {};
    float depthRange[2] = {};
    GLuint program = 0;
    bool arrayEnabled[kAttributeCount] = {};
};

// The uniforms of the current state, worked out once per state serial.
struct UniformValues {
    std::uint64_t serial = 0;
    float mvp[16], modelView[16], normal[9], modelView1[16], normal1[9], projection[16];
    float lightPosition[kLights][4], lightAmbient[kLights][4], lightDiffuse[kLights][4], lightSpecular[kLights][4];
    float lightAttenuation[kLights][3], spotDirection[kLights][3], spot[kLights][2];
    float sceneColor[4], shininess;
    float texMatrix[kUnits][16], objectPlane[kUnits * 4][4], eyePlane[kUnits * 4][4];
    float envColor[kUnits][4], border[kUnits][4], textureSize[kUnits][2];
    float alphaReference, fogColor[4], fog[3];
};

struct DrawObjects {
    ProgramKey lastKey;          // the state of the draw before and its program, reused while
    Program* lastProgram = nullptr;   // nothing in the key changes
    Stream vertices, indices;
    GLuint vertexArray = 0;
    Applied applied;
    UniformValues uniforms;
};

DrawObjects objects;

void Switch(GLenum cap, bool on, bool& applied) {
    if (objects.applied.known && applied == on) return;
    applied = on;
    (on ? es.Enable : es.Disable)(cap);
}

void ComputeUniforms() {
    UniformValues& u = objects.uniforms;
    if (u.serial == state.serial) return;
    u.serial = state.serial;
    const ServerState& s = state.server;
    std::memcpy(u.modelView, state.modelView.Top().m, sizeof u.modelView);
    std::memcpy(u.projection, state.projection.Top().m, sizeof u.projection);
    std::memcpy(u.modelView1, state.weightMatrix.Top().m, sizeof u.modelView1);
    MatrixProduct(u.projection, u.modelView, u.mvp);
    NormalMatrix(u.modelView, u.normal);
    NormalMatrix(u.modelView1, u.normal1);
    const Material& m = s.material;
    for (int i = 0; i < kLights; ++i) {
        const Light& light = s.lights[i];
        std::memcpy(u.lightPosition[i], light.position, sizeof light.position);
        if (light.position[3] == 0.0f) {
            const float* p = light.position;
            const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            for (int c = 0; c < 3 && length > 0.0f; ++c) u.lightPosition[i][c] = p[c] / length;
        }
        for (int c = 0; c < 4; ++c) {
            u.lightAmbient[i][c] = light.ambient[c] * m.ambient[c];
            u.lightDiffuse[i][c] = light.diffuse[c] * m.diffuse[c];
            u.lightSpecular[i][c] = light.specular[c] * m.specular[c];
        }
        std::memcpy(u.lightAttenuation[i], light.attenuation, sizeof light.attenuation);
        std::memcpy(u.spotDirection[i], light.spotDirection, sizeof light.spotDirection);
        u.spot[i][0] = light.spotExponent;
        u.spot[i][1] = light.spotCutoff >= 180.0f ? -2.0f : std::cos(light.spotCutoff * 3.14159265f / 180.0f);
    }
    for (int c = 0; c < 3; ++c) u.sceneColor[c] = m.emission[c] + s.sceneAmbient[c] * m.ambient[c];
    u.sceneColor[3] = m.diffuse[3];
    u.shininess = m.shininess;
    for (int i = 0; i < kUnits; ++i) {
        const TextureUnit& unit = s.units[i];
        std::memcpy(u.texMatrix[i], unit.matrix.Top().m, sizeof u.texMatrix[i]);
        for (int c = 0; c < 4; ++c) {
            std::memcpy(u.objectPlane[i * 4 + c], unit.gen[c].objectPlane, sizeof(float) * 4);
            std::memcpy(u.eyePlane[i * 4 + c], unit.gen[c].eyePlane, sizeof(float) * 4);
        }
        std::memcpy(u.envColor[i], unit.envColor, sizeof u.envColor[i]);
        const TextureObject* texture = FindTexture(unit.enabled2D ? unit.bound2D : unit.bound1D);
        std::memset(u.border[i], 0, sizeof u.border[i]);
        u.textureSize[i][0] = u.textureSize[i][1] = 1.0f;
        if (texture && !texture->levels.empty()) {
            std::memcpy(u.border[i], texture->border, sizeof u.border[i]);
            u.textureSize[i][0] = static_cast<float>(texture->levels[0].first);
            u.textureSize[i][1] = static_cast<float>(texture->levels[0].second);
        }
    }
    u.alphaReference = s.alphaReference;
    std::memcpy(u.fogColor, s.fogColor, sizeof u.fogColor);
    const float range = s.fogEnd - s.fogStart;
    u.fog[0] = range != 0.0f ? -1.0f / range : 0.0f;
    u.fog[1] = range != 0.0f ? s.fogEnd / range : 1.0f;
    u.fog[2] = s.fogDensity;
}

void Upload(const Program& program) {
    const UniformValues& u = objects.uniforms;
    const GLint* at = program.locations;
    auto matrix4 = [&](Uniform which, const float* value, int count) {
        if (at[which] >= 0) es.UniformMatrix4fv(at[which], count, GL_FALSE, value);
    };
    auto matrix3 = [&](Uniform which, const float* value) {
        if (at[which] >= 0) es.UniformMatrix3fv(at[which], 1, GL_FALSE, value);
    };
    auto vec4 = [&](Uniform which, const float* value, int count) {
        if (at[which] >= 0) es.Uniform4fv(at[which], count, value);
    };
    auto vec3 = [&](Uniform which, const float* value, int count) {
        if (at[which] >= 0) es.Uniform3fv(at[which], count, value);
    };
    matrix4(kMvp, u.mvp, 1);
    matrix4(kModelView, u.modelView, 1);
    matrix3(kNormalMatrix, u.normal);
    matrix4(kModelView1, u.modelView1, 1);
    matrix3(kNormalMatrix1, u.normal1);
    matrix4(kProjection, u.projection, 1);
    vec4(kLightPosition, &u.lightPosition[0][0], kLights);
    vec4(kLightAmbient, &u.lightAmbient[0][0], kLights);
    vec4(kLightDiffuse, &u.lightDiffuse[0][0], kLights);
    vec4(kLightSpecular, &u.lightSpecular[0][0], kLights);
    vec3(kLightAttenuation, &u.lightAttenuation[0][0], kLights);
    vec3(kSpotDirection, &u.spotDirection[0][0], kLights);
    if (at[kSpot] >= 0) es.Uniform2fv(at[kSpot], kLights, &u.spot[0][0]);
    vec4(kSceneColor, u.sceneColor, 1);
    if (at[kShininess] >= 0) es.Uniform1f(at[kShininess], u.shininess);
    matrix4(kTexMatrix, &u.texMatrix[0][0], kUnits);
    vec4(kObjectPlane, &u.objectPlane[0][0], kUnits * 4);
    vec4(kEyePlane, &u.eyePlane[0][0], kUnits * 4);
    vec4(kEnvColor, &u.envColor[0][0], kUnits);
    vec4(kBorderColor, &u.border[0][0], kUnits);
    if (at[kAlphaReference] >= 0) es.Uniform1f(at[kAlphaReference], u.alphaReference);
    vec4(kFogColor, u.fogColor, 1);
    vec3(kFog, u.fog, 1);
    if (at[kTextureSize] >= 0) es.Uniform2fv(at[kTextureSize], kUnits, &u.textureSize[0][0]);
}

// The unit's target as a draw samples it: the highest enabled one whose texture is complete.
std::uint8_t UnitTarget(const TextureUnit& unit, const TextureObject*& texture) {
    texture = nullptr;
    if (unit.enabled2D) {
        texture = FindTexture(unit.bound2D);
        if (texture && texture->Complete()) return 2;
        return 0;
    }
    if (unit.enabled1D) {
        texture = FindTexture(unit.bound1D);
        if (texture && texture->Complete()) return 1;
    }
    return 0;
}

ProgramKey BuildKey(GLuint (&textures)[kUnits]) {
    ProgramKey key;
    std::memset(&key, 0, sizeof key);
    const ServerState& s = state.server;
    if (s.lighting)
        for (int i = 0; i < kLights; ++i)
            if (s.lights[i].enabled) key.lighting = static_cast<std::uint8_t>(key.lighting | (1u << i));
    if (key.lighting) {
        const float* ms = s.material.specular;
        key.specular = (ms[0] != 0.0f || ms[1] != 0.0f || ms[2] != 0.0f) ? 1 : 0;
    }
    key.normalize = s.normalize ? 1 : 0;
    key.weighting = s.weighting ? 1 : 0;
    key.flat = s.shadeModel == GL_FLAT ? 1 : 0;
    key.fogMode = static_cast<std::uint16_t>(s.fog ? s.fogMode : 0);
    key.alphaFunction = static_cast<std::uint16_t>(s.alphaTest && s.alphaFunction != GL_ALWAYS ? s.alphaFunction : 0);
    for (int i = 0; i < kUnits; ++i) {
        const TextureUnit& unit = s.units[i];
        UnitKey& k = key.units[i];
        const TextureObject* texture = nullptr;
        k.target = UnitTarget(unit, texture);
        textures[i] = k.target == 2 ? unit.bound2D : k.target == 1 ? unit.bound1D : 0;
        if (!k.target) continue;
        k.format = texture->format;
        k.textureMatrix = unit.matrix.Top().identity ? 0 : 1;
        for (int c = 0; c < 4; ++c) {
            const TexGen& gen = unit.gen[c];
            if (!gen.enabled) continue;
            k.gen[c] = gen.mode == GL_SPHERE_MAP ? kGenSphere : gen.mode == GL_OBJECT_LINEAR ? kGenObject : kGenEye;
        }
        k.clampS = texture->wrapS == GL_CLAMP ? 1 : 0;
        k.clampT = texture->wrapT == GL_CLAMP && k.target == 2 ? 1 : 0;
        k.envMode = static_cast<std::uint16_t>(unit.envMode);
        if (unit.envMode != GL_COMBINE_EXT) continue;
        const Combiner& c = unit.combiner;
        k.rgbFunction = static_cast<std::uint16_t>(c.rgbFunction);
        k.alphaFunction = static_cast<std::uint16_t>(c.alphaFunction);
        for (int a = 0; a < 3; ++a) {
            k.rgbSource[a] = static_cast<std::uint16_t>(c.rgbSource[a]);
            k.alphaSource[a] = static_cast<std::uint16_t>(c.alphaSource[a]);
            k.rgbOperand[a] = static_cast<std::uint16_t>(c.rgbOperand[a]);
            k.alphaOperand[a] = static_cast<std::uint16_t>(c.alphaOperand[a]);
        }
        k.rgbScale = static_cast<std::uint8_t>(c.rgbScale);
        k.alphaScale = static_cast<std::uint8_t>(c.alphaScale);
    }
    return key;
}

void SetAttribute(int index, const AttributeSource& source, const float* current) {
    Applied& a = objects.applied;
    if (source.fromBuffer) {
        if (!a.arrayEnabled[index]) es.EnableVertexAttribArray(static_cast<GLuint>(index));
        a.arrayEnabled[index] = true;
        es.VertexAttribPointer(static_cast<GLuint>(index), source.size, source.type, source.normalized, source.stride,
                               reinterpret_cast<const void*>(source.offset));
        return;
    }
    if (a.arrayEnabled[index]) es.DisableVertexAttribArray(static_cast<GLuint>(index));
    a.arrayEnabled[index] = false;
    es.VertexAttrib4fv(static_cast<GLuint>(index), current);
}

}  // namespace

void ApplyRenderState() {
    const ServerState& s = state.server;
    Applied& a = objects.applied;
    Switch(GL_BLEND, s.blend, a.blend);
    Switch(GL_DEPTH_TEST, s.depthTest, a.depthTest);
    Switch(GL_CULL_FACE, s.cullFace, a.cullFace);
    Switch(GL_SCISSOR_TEST, s.scissorTest, a.scissorTest);
    if (!a.known || a.blendSource != s.blendSource || a.blendDestination != s.blendDestination) {
        es.BlendFunc(s.blendSource, s.blendDestination);
        a.blendSource = s.blendSource, a.blendDestination = s.blendDestination;
    }
    if (!a.known || a.depthFunction != s.depthFunction) es.DepthFunc(a.depthFunction = s.depthFunction);
    if (!a.known || a.depthMask != s.depthMask) es.DepthMask((a.depthMask = s.depthMask) ? GL_TRUE : GL_FALSE);
    if (!a.known || a.cullMode != s.cullMode) es.CullFace(a.cullMode = s.cullMode);
    if (!a.known || a.frontFace != s.frontFace) es.FrontFace(a.frontFace = s.frontFace);
    if (!a.known || std::memcmp(a.colorMask, s.colorMask, sizeof a.colorMask) != 0) {
        std::memcpy(a.colorMask, s.colorMask, sizeof a.colorMask);
        es.ColorMask(s.colorMask[0], s.colorMask[1], s.colorMask[2], s.colorMask[3]);
    }
    if (!a.known || std::memcmp(a.viewport, s.viewport, sizeof a.viewport) != 0) {
        std::memcpy(a.viewport, s.viewport, sizeof a.viewport);
        es.Viewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    }
    if (!a.known || std::memcmp(a.scissor, s.scissor, sizeof a.scissor) != 0) {
        std::memcpy(a.scissor, s.scissor, sizeof a.scissor);
        es.Scissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
    }
    if (!a.known || a.depthRange[0] != s.depthRange[0] || a.depthRange[1] != s.depthRange[1]) {
        a.depthRange[0] = s.depthRange[0], a.depthRange[1] = s.depthRange[1];
        es.DepthRangef(s.depthRange[0], s.depthRange[1]);
    }
    a.known = true;
}

void DisableAllArrays() {
    for (int i = 0; i < kAttributeCount; ++i) {
        if (objects.applied.arrayEnabled[i]) es.DisableVertexAttribArray(static_cast<GLuint>(i));
        objects.applied.arrayEnabled[i] = false;
    }
}

void ForgetAppliedState() {
    objects.applied.known = false;
    objects.applied.program = 0;
}

void DrawWith(GLuint buffer, const AttributeSources& sources, GLenum esMode, GLsizei arrayCount, GLint first,
              GLsizei indexCount, std::uintptr_t indexOffset) {
    GLuint textures[kUnits] = {};
    const ProgramKey key = BuildKey(textures);
    Program* program = objects.lastProgram;
    if (!program || std::memcmp(&key, &objects.lastKey, sizeof key) != 0) {
        program = ProgramFor(key);
        if (!program) return;
        objects.lastKey = key;
        objects.lastProgram = program;
    }
    ApplyRenderState();
    if (objects.applied.program != program->name) {
        es.UseProgram(program->name);
        objects.applied.program = program->name;
    }
    ComputeUniforms();
    if (program->serial != state.serial) {
        Upload(*program);
        program->serial = state.serial;
    }
    for (int i = 0; i < kUnits; ++i)
        if (key.units[i].target) BindUnitTexture(i, textures[i]);
    es.BindBuffer(GL_ARRAY_BUFFER, buffer);
    const ServerState& s = state.server;
    const float normal[4] = {s.normal[0], s.normal[1], s.normal[2], 0};
    const float weight[4] = {s.weight, 0, 0, 1};
    const float origin[4] = {0, 0, 0, 1};
    SetAttribute(kPosition, sources[kPosition], origin);
    SetAttribute(kNormal, sources[kNormal], normal);
    SetAttribute(kColor, sources[kColor], s.color);
    SetAttribute(kWeight, sources[kWeight], weight);
    for (int u = 0; u < kUnits; ++u)
        if (NeedsTexCoord(key, u)) SetAttribute(kTexCoord0 + u, sources[kTexCoord0 + u], s.texCoord[u]);
    if (indexCount > 0) {
        es.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, objects.indices.buffer);
        es.DrawElements(esMode, indexCount, GL_UNSIGNED_INT, reinterpret_cast<const void*>(indexOffset));
    } else {
        es.DrawArrays(esMode, first, arrayCount);
    }
}

std::uintptr_t StreamVertices(const void* data, std::size_t bytes) { return objects.vertices.Put(data, bytes); }

std::uintptr_t StreamIndices(const std::uint32_t* indices, std::size_t count) {
    return objects.indices.Put(indices, count * sizeof(std::uint32_t));
}

GLuint VertexStream() { return objects.vertices.buffer; }

void MakeDrawObjects() {
    objects = DrawObjects();
    es.GenVertexArrays(1, &objects.vertexArray);
    es.BindVertexArray(objects.vertexArray);
    es.GenBuffers(1, &objects.vertices.buffer);
    es.GenBuffers(1, &objects.indices.buffer);
    objects.vertices.target = GL_ARRAY_BUFFER;
    objects.indices.target = GL_ELEMENT_ARRAY_BUFFER;
    objects.vertices.size = kVertexStreamBytes;
    objects.indices.size = kIndexStreamBytes;
    for (Stream* stream : {&objects.vertices, &objects.indices}) {
        es.BindBuffer(stream->target, stream->buffer);
        es.BufferData(stream->target, static_cast<GLsizeiptr>(stream->size), nullptr, GL_STREAM_DRAW);
    }
}

void ReleaseDrawObjects() {
    if (objects.vertices.buffer) es.DeleteBuffers(1, &objects.vertices.buffer);
    if (objects.indices.buffer) es.DeleteBuffers(1, &objects.indices.buffer);
    if (objects.vertexArray) es.DeleteVertexArrays(1, &objects.vertexArray);
    objects = DrawObjects();
}

}  // namespace gl_layers
