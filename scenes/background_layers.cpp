// scenes/background_layers.cpp — the background stack as one multitextured quad.
#include "scenes/background_layers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/extensions.h"
#include "scenes/texture_stages.h"

namespace {

constexpr int kCorners[4][2] = {{0, 0}, {0, 480}, {640, 0}, {640, 480}};

// Unit `index` adds `texture` tinted by `layer`'s colour to what the stages before made.
void AddTintedStage(int index, GLuint texture, const BackgroundLayer& layer) {
    ext::glActiveTextureARB(TextureUnit(index));
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLfloat tint[4] = {layer.red, layer.green, layer.blue, 1.0f};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, tint);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, GL_MODULATE_ADD_ATI);   // source 0 × source 2 + source 1
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_EXT, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_EXT, GL_PREVIOUS_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_EXT, GL_CONSTANT_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_EXT, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_EXT, GL_PREVIOUS_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_EXT, GL_SRC_ALPHA);
}

// Unit `index` adds `texture` as it is.
void AddStage(int index, GLuint texture) {
    ext::glActiveTextureARB(TextureUnit(index));
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
}

}  // namespace

void BackgroundLayerTexCoord(float angle, float x, float y, float& s, float& t) {
    // The layer's corner (u, v) sits at (320, 240) + h·(c·u + s·v, −s·u + c·v) with texture
    // coordinates ((u + 1) / 2, (1 − v) / 2); this is that mapping turned round.
    const float a = angle * 3.14f / 180.0f;   // 3.14, not pi, as the layers turn
    const float c = std::cos(a), sn = std::sin(a);
    const float h = 520.0f + 40.0f * sn;
    const float dx = (x - 320.0f) / h, dy = (y - 240.0f) / h;
    const float u = c * dx - sn * dy, v = sn * dx + c * dy;
    s = (u + 1.0f) * 0.5f;
    t = (1.0f - v) * 0.5f;
}

int BackgroundLayersInOnePass() {
    if (!ext::glActiveTextureARB || !ext::glMultiTexCoord2fARB) return 0;
    if (!IsExtensionSupported("GL_ATI_texture_env_combine3")) return 0;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    return units / 2;
}

void DrawBackgroundInOnePass(const BackgroundLayer* layers, int count, GLuint background, GLuint stars) {
    // Unit 0: the first layer's background in its tint (the primary colour), unit 1 its stars.
    glBindTexture(GL_TEXTURE_2D, background);
    AddStage(1, stars);
    for (int i = 1; i < count; ++i) {
        AddTintedStage(2 * i, background, layers[i]);
        AddStage(2 * i + 1, stars);
    }
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glColor3f(layers[0].red, layers[0].green, layers[0].blue);
    glBegin(GL_TRIANGLE_STRIP);
    for (const auto& corner : kCorners) {
        const float x = static_cast<float>(corner[0]), y = static_cast<float>(corner[1]);
        for (int i = 0; i < count; ++i) {
            float s = 0, t = 0;
            BackgroundLayerTexCoord(layers[i].angle, x, y, s, t);
            ext::glMultiTexCoord2fARB(TextureUnit(2 * i), s, t);
            ext::glMultiTexCoord2fARB(TextureUnit(2 * i + 1), s, t);
        }
        glVertex2f(x, y);
    }
    glEnd();
    for (int unit = 2 * count - 1; unit >= 2; --unit) ResetStage(unit);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    // What the separate passes leave behind: the last layer's tint, the corner (1, 1) of the
    // picture on units 0 and 1, and its own unit's star binding.
    glColor3f(layers[count - 1].red, layers[count - 1].green, layers[count - 1].blue);
    ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 1.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 1.0f, 1.0f);
}

namespace {

// The smallest layer's square (2 × 480 overlay units) shows `texture`'s width and height at
// this many viewport pixels per texel, at the least.
float PixelsPerTexel(GLuint texture) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || height <= 0) return 0.0f;
    const float pixelsPerUnit = std::min(static_cast<float>(viewport[2]) / 640.0f, static_cast<float>(viewport[3]) / 480.0f);
    return 960.0f * pixelsPerUnit / static_cast<float>(std::max(width, height));
}

}  // namespace

MagnifiedLayerFilter::MagnifiedLayerFilter(GLuint background, GLuint stars) : textures{background, stars} {
    // A margin over one pixel per texel: the sampler's level estimate is not exact.
    constexpr float kSurelyMagnified = 1.5f;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    changed = PixelsPerTexel(background) >= kSurelyMagnified && PixelsPerTexel(stars) >= kSurelyMagnified;
    for (int i = 0; changed && i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

MagnifiedLayerFilter::~MagnifiedLayerFilter() {
    if (!changed) return;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    for (int i = 0; i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters[i]);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}
