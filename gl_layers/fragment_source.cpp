// gl_layers/fragment_source.cpp — the fragment shader: texture environments and combiners in
// unit order, the alpha test and fog.
#include "gl_layers/program_key.h"

#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#define GL_MODULATE_SIGNED_ADD_ATI 0x8745
#define GL_MODULATE_SUBTRACT_ATI 0x8746
#endif

namespace gl_layers {

namespace {

std::string Number(int value) { return std::to_string(value); }

// The colour a combiner source names, as a vec4 expression.
std::string Source(const ProgramKey& key, int unit, GLenum source) {
    if (source == GL_TEXTURE) return "tex" + Number(unit);
    if (source >= GL_TEXTURE0 && source < GL_TEXTURE0 + kUnits) {
        const int other = static_cast<int>(source - GL_TEXTURE0);
        return key.units[other].target ? "tex" + Number(other) : "vec4(1.0)";
    }
    if (source == GL_CONSTANT_EXT) return "uEnvColor[" + Number(unit) + "]";
    if (source == GL_PRIMARY_COLOR_EXT) return "primary";
    return "previous";
}

std::string RgbArgument(const std::string& value, GLenum operand) {
    switch (operand) {
        case GL_ONE_MINUS_SRC_COLOR: return "(vec3(1.0) - " + value + ".rgb)";
        case GL_SRC_ALPHA: return "vec3(" + value + ".a)";
        case GL_ONE_MINUS_SRC_ALPHA: return "vec3(1.0 - " + value + ".a)";
        default: return value + ".rgb";
    }
}

std::string AlphaArgument(const std::string& value, GLenum operand) {
    return operand == GL_ONE_MINUS_SRC_ALPHA ? "(1.0 - " + value + ".a)" : value + ".a";
}

// A combiner function of three arguments a0, a1, a2 of the type `one` ("vec3(1.0)" or "1.0").
std::string Combine(GLenum function, const std::string a[3], const std::string& half) {
    switch (function) {
        case GL_REPLACE: return a[0];
        case GL_ADD: return a[0] + " + " + a[1];
        case GL_ADD_SIGNED_EXT: return a[0] + " + " + a[1] + " - " + half;
        case GL_INTERPOLATE_EXT: return a[0] + " * " + a[2] + " + " + a[1] + " * (1.0 - " + a[2] + ")";
        case GL_SUBTRACT_ARB: return a[0] + " - " + a[1];
        case GL_MODULATE_ADD_ATI: return a[0] + " * " + a[2] + " + " + a[1];
        case GL_MODULATE_SIGNED_ADD_ATI: return a[0] + " * " + a[2] + " + " + a[1] + " - " + half;
        case GL_MODULATE_SUBTRACT_ATI: return a[0] + " * " + a[2] + " - " + a[1];
        default: return a[0] + " * " + a[1];
    }
}

std::string CombinerStage(const ProgramKey& key, int u) {
    const UnitKey& unit = key.units[u];
    std::string rgb[3], alpha[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = RgbArgument(Source(key, u, unit.rgbSource[i]), unit.rgbOperand[i]);
        alpha[i] = AlphaArgument(Source(key, u, unit.alphaSource[i]), unit.alphaOperand[i]);
    }
    const std::string n = Number(u);
    std::string s;
    if (unit.rgbFunction == GL_DOT3_RGB_EXT || unit.rgbFunction == GL_DOT3_RGBA_EXT) {
        s += "    float dot" + n + " = 4.0 * dot(" + rgb[0] + " - vec3(0.5), " + rgb[1] + " - vec3(0.5));\n";
        s += "    vec3 rgb" + n + " = vec3(dot" + n + ");\n";
    } else {
        s += "    vec3 rgb" + n + " = " + Combine(unit.rgbFunction, rgb, "vec3(0.5)") + ";\n";
    }
    if (unit.rgbFunction == GL_DOT3_RGBA_EXT) s += "    float alpha" + n + " = dot" + n + ";\n";
    else s += "    float alpha" + n + " = " + Combine(unit.alphaFunction, alpha, "0.5") + ";\n";
    s += "    previous = clamp(vec4(rgb" + n + " * " + Number(unit.rgbScale) + ".0, alpha" + n + " * " +
         Number(unit.alphaScale) + ".0), 0.0, 1.0);\n";
    return s;
}

// The fixed texture environments, by the texture's base format.
std::string Environment(const ProgramKey& key, int u) {
    const UnitKey& unit = key.units[u];
    const std::string t = "tex" + Number(u), c = "uEnvColor[" + Number(u) + "]";
    const bool alphaOnly = unit.format == kFormatAlpha;
    const bool hasColor = !alphaOnly;
    const bool intensity = unit.format == kFormatIntensity;
    std::string rgb = "previous.rgb", alpha = "previous.a";
    switch (unit.envMode) {
        case GL_REPLACE:
            if (hasColor) rgb = t + ".rgb";
            if (unit.format != kFormatRGB && unit.format != kFormatLuminance) alpha = t + ".a";
            break;
        case GL_DECAL:   // defined for RGB and RGBA textures only; the others pass the colour on
            if (unit.format == kFormatRGBA) rgb = "mix(previous.rgb, " + t + ".rgb, " + t + ".a)";
            else if (unit.format == kFormatRGB) rgb = t + ".rgb";
            break;
        case GL_BLEND:
            if (hasColor) rgb = "previous.rgb * (vec3(1.0) - " + t + ".rgb) + " + c + ".rgb * " + t + ".rgb";
            alpha = intensity ? "previous.a * (1.0 - " + t + ".a) + " + c + ".a * " + t + ".a" : "previous.a * " + t + ".a";
            break;
        case GL_ADD:
            if (hasColor) rgb = "previous.rgb + " + t + ".rgb";
            alpha = intensity ? "previous.a + " + t + ".a" : "previous.a * " + t + ".a";
            break;
        default:   // GL_MODULATE
            if (hasColor) rgb = "previous.rgb * " + t + ".rgb";
            alpha = "previous.a * " + t + ".a";
            break;
    }
    return "    previous = clamp(vec4(" + rgb + ", " + alpha + "), 0.0, 1.0);\n";
}

// The texel a unit samples; GL_CLAMP blends towards the border colour in the outer half texel.
std::string Sample(const UnitKey& unit, int u) {
    const std::string n = Number(u);
    std::string coordinate = unit.target == 1 ? "vec2(vTexCoord" + n + ".x / vTexCoord" + n + ".w, 0.5)"
                                              : "vTexCoord" + n + ".xy / vTexCoord" + n + ".w";
    std::string s = "    vec2 at" + n + " = " + coordinate + ";\n";
    if (!unit.clampS && !unit.clampT) return s + "    vec4 tex" + n + " = texture(uSampler" + n + ", at" + n + ");\n";
    std::string weight = "1.0";
    if (unit.clampS) {
        s += "    at" + n + ".x = clamp(at" + n + ".x, 0.0, 1.0);\n";
        weight += " * clamp(min(at" + n + ".x, 1.0 - at" + n + ".x) * uTextureSize[" + n + "].x + 0.5, 0.0, 1.0)";
    }
    if (unit.clampT && unit.target == 2) {
        s += "    at" + n + ".y = clamp(at" + n + ".y, 0.0, 1.0);\n";
        weight += " * clamp(min(at" + n + ".y, 1.0 - at" + n + ".y) * uTextureSize[" + n + "].y + 0.5, 0.0, 1.0)";
    }
    s += "    vec4 tex" + n + " = mix(uBorderColor[" + n + "], texture(uSampler" + n + ", at" + n + "), " + weight + ");\n";
    return s;
}

}  // namespace

std::string FragmentShaderSource(const ProgramKey& key) {
    std::string s = "#version 300 es\nprecision highp float;\n";
    s += std::string(key.flat ? "flat " : "") + "in vec4 vColor;\nin float vFog;\n";
    for (int u = 0; u < kUnits; ++u) {
        if (!key.units[u].target) continue;
        s += "in vec4 vTexCoord" + Number(u) + ";\nuniform sampler2D uSampler" + Number(u) + ";\n";
    }
    s += "uniform vec4 uEnvColor[8];\nuniform vec4 uBorderColor[8];\nuniform vec2 uTextureSize[8];\n";
    s += "uniform float uAlphaReference;\nuniform vec4 uFogColor;\nuniform vec3 uFog;\n";
    s += "out vec4 fragColor;\nvoid main() {\n    vec4 primary = vColor;\n    vec4 previous = primary;\n";
    for (int u = 0; u < kUnits; ++u)
        if (key.units[u].target) s += Sample(key.units[u], u);
    for (int u = 0; u < kUnits; ++u) {
        if (!key.units[u].target) continue;
        s += key.units[u].envMode == GL_COMBINE_EXT ? CombinerStage(key, u) : Environment(key, u);
    }
    if (key.alphaFunction) {
        const char* test = "";
        switch (key.alphaFunction) {
            case GL_NEVER: test = "false"; break;
            case GL_LESS: test = "previous.a < uAlphaReference"; break;
            case GL_EQUAL: test = "previous.a == uAlphaReference"; break;
            case GL_LEQUAL: test = "previous.a <= uAlphaReference"; break;
            case GL_GREATER: test = "previous.a > uAlphaReference"; break;
            case GL_NOTEQUAL: test = "previous.a != uAlphaReference"; break;
            case GL_GEQUAL: test = "previous.a >= uAlphaReference"; break;
            default: test = "true"; break;
        }
        s += std::string("    if (!(") + test + ")) discard;\n";
    }
    if (key.fogMode) {
        // uFog: linear: (-1 / (end - start), end / (end - start)); exponential: the density.
        if (key.fogMode == GL_LINEAR) s += "    float f = clamp(vFog * uFog.x + uFog.y, 0.0, 1.0);\n";
        else if (key.fogMode == GL_EXP) s += "    float f = clamp(exp(-uFog.z * vFog), 0.0, 1.0);\n";
        else s += "    float f = clamp(exp(-(uFog.z * vFog) * (uFog.z * vFog)), 0.0, 1.0);\n";
        s += "    previous.rgb = mix(uFogColor.rgb, previous.rgb, f);\n";
    }
    s += "    fragColor = previous;\n}\n";
    return s;
}

}  // namespace gl_layers
