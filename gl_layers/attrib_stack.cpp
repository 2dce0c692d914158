// gl_layers/attrib_stack.cpp — glPushAttrib and glPopAttrib by attribute group, and the client
// attribute stack.
#include <cstring>

#include "gl_layers/display_lists.h"
#include "gl_layers/state_calls.h"

namespace gl_layers {

namespace {

constexpr std::size_t kAttribDepth = 16;

// Copies from `from` into `to` the fields of the groups in `mask`.
void CopyGroups(GLbitfield mask, const ServerState& from, ServerState& to) {
    if (mask & GL_CURRENT_BIT) {
        std::memcpy(to.color, from.color, sizeof to.color);
        std::memcpy(to.normal, from.normal, sizeof to.normal);
        std::memcpy(to.texCoord, from.texCoord, sizeof to.texCoord);
        to.rasterValid = from.rasterValid;
        std::memcpy(to.rasterPos, from.rasterPos, sizeof to.rasterPos);
        std::memcpy(to.rasterColor, from.rasterColor, sizeof to.rasterColor);
    }
    if (mask & (GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT)) to.alphaTest = from.alphaTest, to.blend = from.blend, to.dither = from.dither;
    if (mask & (GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT)) to.depthTest = from.depthTest;
    if (mask & (GL_ENABLE_BIT | GL_FOG_BIT)) to.fog = from.fog;
    if (mask & (GL_ENABLE_BIT | GL_LIGHTING_BIT)) {
        to.lighting = from.lighting;
        for (int i = 0; i < kLights; ++i) to.lights[i].enabled = from.lights[i].enabled;
    }
    if (mask & (GL_ENABLE_BIT | GL_POLYGON_BIT)) to.cullFace = from.cullFace;
    if (mask & (GL_ENABLE_BIT | GL_SCISSOR_BIT)) to.scissorTest = from.scissorTest;
    if (mask & (GL_ENABLE_BIT | GL_TRANSFORM_BIT)) to.normalize = from.normalize;
    if (mask & (GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT)) to.stencilTest = from.stencilTest;
    if (mask & GL_ENABLE_BIT) to.weighting = from.weighting;
    if (mask & (GL_ENABLE_BIT | GL_TEXTURE_BIT)) {
        for (int u = 0; u < kUnits; ++u) {
            to.units[u].enabled1D = from.units[u].enabled1D;
            to.units[u].enabled2D = from.units[u].enabled2D;
            for (int c = 0; c < 4; ++c) to.units[u].gen[c].enabled = from.units[u].gen[c].enabled;
        }
    }
    if (mask & GL_COLOR_BUFFER_BIT) {
        to.alphaFunction = from.alphaFunction, to.alphaReference = from.alphaReference;
        to.blendSource = from.blendSource, to.blendDestination = from.blendDestination;
        std::memcpy(to.colorMask, from.colorMask, sizeof to.colorMask);
        std::memcpy(to.clearColor, from.clearColor, sizeof to.clearColor);
    }
    if (mask & GL_DEPTH_BUFFER_BIT) {
        to.depthFunction = from.depthFunction, to.depthMask = from.depthMask, to.clearDepth = from.clearDepth;
    }
    if (mask & GL_FOG_BIT) {
        to.fogMode = from.fogMode, to.fogDensity = from.fogDensity, to.fogStart = from.fogStart;
        to.fogEnd = from.fogEnd;
        std::memcpy(to.fogColor, from.fogColor, sizeof to.fogColor);
    }
    if (mask & GL_LIGHTING_BIT) {
        to.shadeModel = from.shadeModel;
        for (int i = 0; i < kLights; ++i) {
            const bool enabled = to.lights[i].enabled;
            to.lights[i] = from.lights[i];
            to.lights[i].enabled = enabled;
        }
        to.material = from.material;
        std::memcpy(to.sceneAmbient, from.sceneAmbient, sizeof to.sceneAmbient);
    }
    if (mask & GL_POLYGON_BIT) to.cullMode = from.cullMode, to.frontFace = from.frontFace;
    if (mask & GL_SCISSOR_BIT) std::memcpy(to.scissor, from.scissor, sizeof to.scissor);
    if (mask & GL_VIEWPORT_BIT) {
        std::memcpy(to.viewport, from.viewport, sizeof to.viewport);
        std::memcpy(to.depthRange, from.depthRange, sizeof to.depthRange);
    }
    if (mask & GL_TRANSFORM_BIT) to.matrixMode = from.matrixMode;
    if (mask & GL_PIXEL_MODE_BIT) {
        std::memcpy(to.zoom, from.zoom, sizeof to.zoom);
        to.readBuffer = from.readBuffer;
    }
    if (mask & GL_TEXTURE_BIT) {
        to.activeUnit = from.activeUnit;
        for (int u = 0; u < kUnits; ++u) {
            TextureUnit& t = to.units[u];
            const TextureUnit& f = from.units[u];
            t.bound1D = f.bound1D, t.bound2D = f.bound2D, t.envMode = f.envMode, t.combiner = f.combiner;
            std::memcpy(t.envColor, f.envColor, sizeof t.envColor);
            for (int c = 0; c < 4; ++c) {
                const bool enabled = t.gen[c].enabled;
                t.gen[c] = f.gen[c];
                t.gen[c].enabled = enabled;
            }
        }
    }
}

}  // namespace

void APIENTRY PushAttrib(GLbitfield mask) {
    if (!RecordCall([=] { PushAttrib(mask); })) return;
    if (state.attribStack.size() >= kAttribDepth) return SetError(GL_STACK_OVERFLOW);
    state.attribStack.emplace_back(mask, state.server);
}

void APIENTRY PopAttrib() {
    if (!RecordCall([] { PopAttrib(); })) return;
    if (state.attribStack.empty()) return SetError(GL_STACK_UNDERFLOW);
    const auto entry = std::move(state.attribStack.back());
    state.attribStack.pop_back();
    CopyGroups(entry.first, entry.second, state.server);
    Changed();
}

void APIENTRY PushClientAttrib(GLbitfield) {
    if (state.clientAttribStack.size() >= kAttribDepth) return SetError(GL_STACK_OVERFLOW);
    state.clientAttribStack.push_back(state.client);
}

void APIENTRY PopClientAttrib() {
    if (state.clientAttribStack.empty()) return SetError(GL_STACK_UNDERFLOW);
    state.client = state.clientAttribStack.back();
    state.clientAttribStack.pop_back();
}

}  // namespace gl_layers
