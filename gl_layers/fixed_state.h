// gl_layers/fixed_state.h — the OpenGL 1.x state our layer over OpenGL ES keeps.
//
// The program's GL calls change this state; the draws turn it into an ES program, its
// uniforms and the ES render state. Every field starts at the value a new GL context gives it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gl.h"

namespace gl_layers {

constexpr int kUnits = 8;    // texture units, as the desktop driver offers the demo
constexpr int kLights = 8;

// A column-major 4 × 4 matrix, as GL stores it.
struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool identity = true;
};

// A matrix stack with GL's depth limit.
struct MatrixStack {
    std::vector<Matrix> entries = std::vector<Matrix>(1);
    int limit = 32;
    Matrix& Top() { return entries.back(); }
    const Matrix& Top() const { return entries.back(); }
};

struct Light {
    bool enabled = false;
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float position[4] = {0, 0, 1, 0};   // in eye space, as GL keeps it
    float spotDirection[3] = {0, 0, -1};
    float spotExponent = 0;
    float spotCutoff = 180;
    float attenuation[3] = {1, 0, 0};
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0;
};

// GL_COMBINE_EXT's settings of one unit.
struct Combiner {
    GLenum rgbFunction = GL_MODULATE;
    GLenum alphaFunction = GL_MODULATE;
    GLenum rgbSource[3] = {GL_TEXTURE, GL_PREVIOUS_EXT, GL_CONSTANT_EXT};
    GLenum alphaSource[3] = {GL_TEXTURE, GL_PREVIOUS_EXT, GL_CONSTANT_EXT};
    GLenum rgbOperand[3] = {GL_SRC_COLOR, GL_SRC_COLOR, GL_SRC_ALPHA};
    GLenum alphaOperand[3] = {GL_SRC_ALPHA, GL_SRC_ALPHA, GL_SRC_ALPHA};
    float rgbScale = 1;
    float alphaScale = 1;
};

// One coordinate's texture generation (S, T, R or Q).
struct TexGen {
    bool enabled = false;
    GLenum mode = GL_EYE_LINEAR;
    float objectPlane[4] = {0, 0, 0, 0};
    float eyePlane[4] = {0, 0, 0, 0};
};

struct TextureUnit {
    bool enabled1D = false;
    bool enabled2D = false;
    GLuint bound1D = 0;
    GLuint bound2D = 0;
    GLenum envMode = GL_MODULATE;
    float envColor[4] = {0, 0, 0, 0};
    Combiner combiner;
    TexGen gen[4] = {{false, GL_EYE_LINEAR, {1, 0, 0, 0}, {1, 0, 0, 0}},
                     {false, GL_EYE_LINEAR, {0, 1, 0, 0}, {0, 1, 0, 0}}, {}, {}};
    MatrixStack matrix;
};

// One client array (glVertexPointer and its relatives).
struct ClientArray {
    bool enabled = false;
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};

// The vertex attributes in the layer's ES programs, by location.
enum Attribute : int { kPosition = 0, kNormal, kColor, kWeight, kTexCoord0, kAttributeCount = kTexCoord0 + kUnits };

// Everything glPushAttrib and the draws read, in one copyable value.
struct ServerState {
    // Switches.
    bool lighting = false, fog = false, depthTest = false, cullFace = false, blend = false, alphaTest = false;
    bool scissorTest = false, normalize = false, weighting = false, dither = true, stencilTest = false;
    // Current values.
    float color[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texCoord[kUnits][4] = {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1},
                                 {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};
    float weight = 1;
    // Raster position.
    bool rasterValid = true;
    float rasterPos[4] = {0, 0, 0, 1};   // window x, y, z
    float rasterColor[4] = {1, 1, 1, 1};
    // Lighting.
    GLenum shadeModel = GL_SMOOTH;
    Light lights[kLights];
    Material material;
    float sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    // Fog.
    GLenum fogMode = GL_EXP;
    float fogDensity = 1, fogStart = 0, fogEnd = 1;
    float fogColor[4] = {0, 0, 0, 0};
    // Fragment operations.
    GLenum alphaFunction = GL_ALWAYS;
    float alphaReference = 0;
    GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLenum depthFunction = GL_LESS;
    bool depthMask = true;
    bool colorMask[4] = {true, true, true, true};
    float clearColor[4] = {0, 0, 0, 0};
    float clearDepth = 1;
    // Polygons.
    GLenum cullMode = GL_BACK;
    GLenum frontFace = GL_CCW;
    // Viewport, depth range and scissor box.
    GLint viewport[4] = {0, 0, 640, 480};
    float depthRange[2] = {0, 1};
    GLint scissor[4] = {0, 0, 640, 480};
    // Textures.
    int activeUnit = 0;
    TextureUnit units[kUnits];
    // Transform.
    GLenum matrixMode = GL_MODELVIEW;
    // Pixel transfer.
    float zoom[2] = {1, 1};
    GLenum readBuffer = GL_BACK;
};

// What glPushClientAttrib keeps.
struct ClientState {
    ClientArray arrays[kAttributeCount];
    int clientActiveUnit = 0;
    GLint unpackAlignment = 4, unpackRowLength = 0, packAlignment = 4, packRowLength = 0;
};

// The layer's whole OpenGL 1.x state.
struct FixedState {
    ServerState server;
    ClientState client;
    MatrixStack modelView;
    MatrixStack projection;
    MatrixStack weightMatrix;   // GL_MODELVIEW1_EXT
    std::vector<std::pair<GLbitfield, ServerState>> attribStack;
    std::vector<ClientState> clientAttribStack;
    GLenum error = GL_NO_ERROR;
    std::uint64_t serial = 1;   // moves on with every change the programs' uniforms read
};

extern FixedState state;

// Records the first error since the last glGetError, as GL does.
void SetError(GLenum error);

// Marks the uniforms stale.
inline void Changed() { ++state.serial; }

// The stack glMatrixMode selected.
MatrixStack& CurrentStack();

}  // namespace gl_layers
