// gl_layers/shader_source.cpp — the GLSL ES text of a fixed-function state.
//
// The vertex shader does what the desktop driver's fixed pipeline does per vertex (transform,
// vertex weighting, per-vertex lighting, texture generation and matrices, the fog distance);
// the fragment shader does the texture environments in unit order, the alpha test and linear,
// exponential or squared-exponential fog per fragment from the interpolated eye distance.
#include "gl_layers/program_key.h"

#include <cstdio>

namespace gl_layers {

namespace {

std::string Number(int value) { return std::to_string(value); }

bool UnitGenerates(const UnitKey& unit) {
    for (std::uint8_t mode : unit.gen)
        if (mode != kGenOff) return true;
    return false;
}

bool UnitReadsSphere(const UnitKey& unit) {
    for (std::uint8_t mode : unit.gen)
        if (mode == kGenSphere) return true;
    return false;
}

// One light's share of the colour, as the fixed pipeline adds it.
std::string LightTerm(int i, bool specular) {
    const std::string n = Number(i);
    std::string s = "    {\n        vec3 vp;\n        float att = 1.0;\n";
    s += "        if (uLightPosition[" + n + "].w != 0.0) {\n";
    s += "            vp = uLightPosition[" + n + "].xyz - eye.xyz;\n";
    s += "            float d = length(vp);\n            vp = vp / d;\n";
    s += "            att = 1.0 / (uLightAttenuation[" + n + "].x + uLightAttenuation[" + n + "].y * d + uLightAttenuation[" +
         n + "].z * d * d);\n";
    s += "            if (uSpot[" + n + "].y > -1.0) {\n";
    s += "                float c = dot(-vp, uSpotDirection[" + n + "]);\n";
    s += "                att *= c >= uSpot[" + n + "].y ? pow(max(c, 0.0), uSpot[" + n + "].x) : 0.0;\n";
    s += "            }\n";
    s += "        } else {\n            vp = uLightPosition[" + n + "].xyz;\n        }\n";
    s += "        float nl = max(dot(n, vp), 0.0);\n";
    s += "        vec3 term = uLightAmbient[" + n + "].rgb + nl * uLightDiffuse[" + n + "].rgb;\n";
    if (specular) {
        s += "        if (nl > 0.0) {\n";
        s += "            float nh = max(dot(n, normalize(vp + vec3(0.0, 0.0, 1.0))), 0.0);\n";
        s += "            term += (uShininess > 0.0 ? pow(nh, uShininess) : 1.0) * uLightSpecular[" + n + "].rgb;\n";
        s += "        }\n";
    }
    s += "        color.rgb += att * term;\n    }\n";
    return s;
}

std::string GenCoordinate(const UnitKey& unit, int u, int c) {
    static const char kAxis[4] = {'x', 'y', 'z', 'w'};
    const std::string plane = Number(u * 4 + c);
    switch (unit.gen[c]) {
        case kGenSphere: return std::string("    t.") + kAxis[c] + " = sphere." + kAxis[c] + ";\n";
        case kGenObject: return std::string("    t.") + kAxis[c] + " = dot(uObjectPlane[" + plane + "], aPosition);\n";
        case kGenEye: return std::string("    t.") + kAxis[c] + " = dot(uEyePlane[" + plane + "], eye);\n";
        default: return "";
    }
}

}  // namespace

bool NeedsTexCoord(const ProgramKey& key, int u) {
    const UnitKey& unit = key.units[u];
    if (unit.target == 0) return false;
    for (std::uint8_t mode : unit.gen)
        if (mode == kGenOff) return true;
    return false;
}

bool NeedsEye(const ProgramKey& key) {
    if (key.lighting || key.fogMode || key.weighting) return true;
    for (const UnitKey& unit : key.units)
        if (unit.target && UnitGenerates(unit)) return true;
    return false;
}

bool NeedsNormal(const ProgramKey& key) {
    if (key.lighting) return true;
    for (const UnitKey& unit : key.units)
        if (unit.target && UnitReadsSphere(unit)) return true;
    return false;
}

std::string VertexShaderSource(const ProgramKey& key) {
    const char* interpolation = key.flat ? "flat " : "";
    std::string s = "#version 300 es\nprecision highp float;\ninvariant gl_Position;\n";
    s += "layout(location = 0) in vec4 aPosition;\nlayout(location = 1) in vec3 aNormal;\n";
    s += "layout(location = 2) in vec4 aColor;\nlayout(location = 3) in float aWeight;\n";
    for (int u = 0; u < kUnits; ++u)
        if (NeedsTexCoord(key, u)) s += "layout(location = " + Number(kTexCoord0 + u) + ") in vec4 aTexCoord" + Number(u) + ";\n";
    s += "uniform mat4 uMvp;\nuniform mat4 uModelView;\nuniform mat3 uNormalMatrix;\n";
    s += "uniform mat4 uModelView1;\nuniform mat3 uNormalMatrix1;\nuniform mat4 uProjection;\n";
    s += "uniform vec4 uLightPosition[8];\nuniform vec4 uLightAmbient[8];\nuniform vec4 uLightDiffuse[8];\n";
    s += "uniform vec4 uLightSpecular[8];\nuniform vec3 uLightAttenuation[8];\nuniform vec3 uSpotDirection[8];\n";
    s += "uniform vec2 uSpot[8];\nuniform vec4 uSceneColor;\nuniform float uShininess;\n";
    s += "uniform mat4 uTexMatrix[8];\nuniform vec4 uObjectPlane[32];\nuniform vec4 uEyePlane[32];\n";
    s += std::string(interpolation) + "out vec4 vColor;\nout float vFog;\n";
    for (int u = 0; u < kUnits; ++u)
        if (key.units[u].target) s += "out vec4 vTexCoord" + Number(u) + ";\n";
    s += "void main() {\n";
    if (key.weighting) {
        s += "    vec4 eye0 = uModelView * aPosition;\n    vec4 eye1 = uModelView1 * aPosition;\n";
        s += "    vec4 eye = aWeight * (eye0 - eye1) + eye1;\n    gl_Position = uProjection * eye;\n";
    } else {
        s += "    gl_Position = uMvp * aPosition;\n";
        if (NeedsEye(key)) s += "    vec4 eye = uModelView * aPosition;\n";
    }
    if (NeedsNormal(key)) {
        if (key.weighting) {
            s += "    vec3 n0 = uNormalMatrix * aNormal;\n    vec3 n1 = uNormalMatrix1 * aNormal;\n";
            s += "    vec3 n = normalize(aWeight * (n0 - n1) + n1);\n";
        } else {
            s += "    vec3 n = uNormalMatrix * aNormal;\n";
            if (key.normalize) s += "    n = normalize(n);\n";
        }
    }
    if (key.lighting) {
        s += "    vec4 color = vec4(uSceneColor.rgb, 0.0);\n";
        for (int i = 0; i < kLights; ++i)
            if (key.lighting & (1u << i)) s += LightTerm(i, key.specular != 0);
        s += "    color.a = uSceneColor.a;\n    vColor = clamp(color, 0.0, 1.0);\n";
    } else {
        s += "    vColor = clamp(aColor, 0.0, 1.0);\n";
    }
    bool sphereDone = false;
    for (int u = 0; u < kUnits; ++u) {
        const UnitKey& unit = key.units[u];
        if (!unit.target) continue;
        if (UnitReadsSphere(unit) && !sphereDone) {
            // u = the unit vector to the vertex, r = u - 2 (n.u) n, m = 2 |r + (0, 0, 1)|.
            s += "    vec3 eyeHat = normalize(eye.xyz);\n    vec3 r = eyeHat - 2.0 * dot(n, eyeHat) * n;\n";
            s += "    vec3 rr = r + vec3(0.0, 0.0, 1.0);\n    float m = 0.5 * inversesqrt(dot(rr, rr));\n";
            s += "    vec4 sphere = vec4(r.xy * m + 0.5, 0.0, 1.0);\n";
            sphereDone = true;
        }
        const std::string n = Number(u);
        s += "    {\n";
        s += NeedsTexCoord(key, u) ? "    vec4 t = aTexCoord" + n + ";\n" : "    vec4 t = vec4(0.0, 0.0, 0.0, 1.0);\n";
        for (int c = 0; c < 4; ++c) s += GenCoordinate(unit, u, c);
        s += unit.textureMatrix ? "    vTexCoord" + n + " = uTexMatrix[" + n + "] * t;\n" : "    vTexCoord" + n + " = t;\n";
        s += "    }\n";
    }
    s += key.fogMode ? "    vFog = abs(eye.z);\n" : "    vFog = 0.0;\n";
    s += "}\n";
    return s;
}

}  // namespace gl_layers
