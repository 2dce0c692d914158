// gl_layers/program_key.h — what selects one of the layer's generated ES programs.
//
// Every piece of fixed-function state that changes the code of the vertex or fragment shader
// is in the key; everything else is a uniform. The key is plain bytes, compared and hashed as
// such, so it is built zeroed.
#pragma once

#include <cstdint>
#include <string>

#include "gl_layers/fixed_state.h"

namespace gl_layers {

// The base format of a texture, as the texture environments read it.
enum TextureFormat : std::uint8_t { kFormatRGB, kFormatRGBA, kFormatLuminance, kFormatLuminanceAlpha, kFormatAlpha, kFormatIntensity };

// How a coordinate is generated.
enum GenMode : std::uint8_t { kGenOff, kGenSphere, kGenObject, kGenEye };

struct UnitKey {
    std::uint8_t target;        // 0: off, 1: 1D, 2: 2D
    std::uint8_t format;        // TextureFormat
    std::uint8_t textureMatrix; // the unit's texture matrix is not the identity
    std::uint8_t gen[4];        // GenMode of S, T, R, Q
    std::uint8_t clampS, clampT;   // GL_CLAMP wrapping, emulated
    std::uint16_t envMode;
    std::uint16_t rgbFunction, alphaFunction;
    std::uint16_t rgbSource[3], alphaSource[3];
    std::uint16_t rgbOperand[3], alphaOperand[3];
    std::uint8_t rgbScale, alphaScale;
};

struct ProgramKey {
    std::uint8_t lighting;      // bit i: light i on (with lighting on)
    std::uint8_t normalize;
    std::uint8_t weighting;
    std::uint8_t flat;
    std::uint16_t fogMode;      // 0: no fog
    std::uint16_t alphaFunction;   // 0: no alpha test
    std::uint8_t specular;      // lit with a specular term
    std::uint8_t pad[3];
    UnitKey units[kUnits];
};

// The vertex and fragment shaders of a key, as GLSL ES 3.00 text.
std::string VertexShaderSource(const ProgramKey& key);
std::string FragmentShaderSource(const ProgramKey& key);

// Whether the key reads the vertex's eye position, normal, or a unit's coordinate attribute.
bool NeedsEye(const ProgramKey& key);
bool NeedsNormal(const ProgramKey& key);
bool NeedsTexCoord(const ProgramKey& key, int unit);

}  // namespace gl_layers
