// scenes/scene_one_drawing.cpp — scene one's passes: the background layers, the object's
// textures and twist, the mirror floor, the overlays and the closing veil.
#include <cmath>
#include <optional>

#include "app/extensions.h"
#include "app/settings.h"
#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "scene/turned_square.h"
#include "scenes/background_layers.h"
#include "scenes/scene_one.h"

void SceneOne::AddOnSecondUnit(GLuint texture) {
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void SceneOne::SecondUnitTexCoord(float s, float t) { ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, t); }

void SceneOne::DisableSecondUnit() {
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

// Matrix 1 of vertex weighting: the current matrix turned by the twist, so outer vertices
// (weight 0) lag behind the inner ones.
void SceneOne::SetUpTwistMatrix() {
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    glMatrixMode(GL_MODELVIEW1_EXT);
    glLoadMatrixf(matrix);
    glRotatef(twistAngle, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
}

void SceneOne::AdvanceBackgroundLayers() {
    const float dt = frameTime;
    const float rates[3] = {180.0f, 90.0f, 45.0f};
    for (int i = 0; i < 3; ++i) {
        layerAngles[i] += rates[i] * dt;
        if (layerAngles[i] > 360.0f) layerAngles[i] -= 360.0f;
    }
}

// The background after the opaque object and its reflection: at the far plane, and only where
// the depth buffer is still clear. The layers blend with each other as they do when drawn first,
// and nothing drawn later reads what lies under the object, so the picture is the same. Leaves
// the depth test and culling on, as the floor expects.
void SceneOne::DrawBackgroundBehind() {
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glDepthRange(1.0, 1.0);
    glDisable(GL_CULL_FACE);
    DrawBackground();
    glDepthRange(0.0, 1.0);
    glDepthFunc(static_cast<GLenum>(depthFunc));
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
}

void SceneOne::DrawBackground() {
    const bool multitexture = Multitexture();
    const int layers = settings.detailLevel > 1 ? 3 : settings.detailLevel > 0 ? 2 : 1;
    std::optional<MagnifiedLayerFilter> magnified;
    if (skipHiddenWork) magnified.emplace(textures[3], textures[4]);
    if (skipHiddenWork && multitexture && settings.useTextureEnvCombine && layers <= backgroundLayersInOnePass) {
        const BackgroundLayer stack[3] = {{layerAngles[0], 0.9f, 0.9f, 1.0f},
                                          {layerAngles[1], 1.0f, 0.9f, 0.7f},
                                          {layerAngles[2], 1.0f, 0.2f, 0.2f}};
        PushOverlaySpace();
        glDisable(GL_BLEND);
        DrawBackgroundInOnePass(stack, layers, textures[3], textures[4]);
        if (layers > 1) glBlendFunc(GL_ONE, GL_ONE);
        glDisable(GL_NORMALIZE);
        PopOverlaySpace();
        return;
    }
    PushOverlaySpace();
    if (multitexture) AddOnSecondUnit(textures[4]);
    glBindTexture(GL_TEXTURE_2D, textures[3]);

    glDisable(GL_BLEND);
    glColor3f(0.9f, 0.9f, 1.0f);
    DrawBackgroundLayer(layerAngles[0]);
    if (settings.detailLevel > 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glColor3f(1.0f, 0.9f, 0.7f);
        DrawBackgroundLayer(layerAngles[1]);
        if (settings.detailLevel > 1) {
            glBlendFunc(GL_ONE, GL_ONE);
            glColor3f(1.0f, 0.2f, 0.2f);
            DrawBackgroundLayer(layerAngles[2]);
        }
        glDisable(GL_BLEND);
    }

    if (multitexture) DisableSecondUnit();
    PopOverlaySpace();
}

void SceneOne::DrawBackgroundLayer(float angle) {
    const float h = 520.0f + 40.0f * std::sin(angle * 3.14f / 180.0f);   // at least 480: covers the screen
    DrawTurnedSquare(320.0f, 240.0f, h, angle, Multitexture() ? SecondUnitTexCoord : nullptr);
    glDisable(GL_NORMALIZE);
}

void SceneOne::BindObjectTextures() {
    if (Multitexture()) AddOnSecondUnit(textures[0]);
    // Unit 0 takes its coordinates from sphere mapping; unit 1 uses the mesh's own.
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    if (VertexWeighting()) {
        glEnableClientState(GL_VERTEX_WEIGHT_ARRAY_EXT);
        glEnable(GL_NORMALIZE);   // blended normals are not unit length
    }
}

void SceneOne::DrawMirrorFloor(bool hidden) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, textures[5]);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glFrontFace(GL_CW);
    if (!hidden) {
        // In the camera frame: the turn does not apply to the floor.
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-50.0f, -50.0f, -7.5f);
        glTexCoord2f(0.0f, 4.0f);
        glVertex3f(-50.0f, 50.0f, -7.5f);
        glTexCoord2f(4.0f, 0.0f);
        glVertex3f(50.0f, -50.0f, -7.5f);
        glTexCoord2f(4.0f, 4.0f);
        glVertex3f(50.0f, 50.0f, -7.5f);
        glEnd();
    }
    glDisable(GL_BLEND);
}

void SceneOne::DrawOverlays() {
    const float t = localTime, dt = frameTime;
    PushOverlaySpace();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (Multitexture()) DisableSecondUnit();

    glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR);
    if (codeCaption) codeCaption->Update(t, dt);
    if (musicCaption) musicCaption->Update(t, dt);

    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, textures[6]);
    glColor3f(0.6f, 0.6f, 0.0f);
    sprites[0].Update(t, dt);
    glColor3f(0.6f, 0.6f, 0.6f);
    sprites[1].Update(t, dt);
    glColor3f(0.0f, 0.0f, 0.6f);
    sprites[2].Update(t, dt);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    PopOverlaySpace();
}

void SceneOne::DrawClosingVeil() {
    veilAlpha += 2.5f * frameTime;
    if (veilAlpha > 1.0f) veilAlpha = 1.0f;
    glColor4f(0.1f, 0.05f, 0.3f, veilAlpha);
    DrawFullScreenVeil();
}
