// scenes/scene_three_sections.cpp — the island, the sea, the credits and the two full-screen
// veils of scene three, frame by frame.
#include <cmath>

#include "effects/cloud_layers.h"
#include "effects/sun.h"
#include "measure/pass_times.h"
#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "scenes/scene_three.h"

SceneThreeAnimation sceneThreeAnimation;

namespace {

// Adds `speed`·dt to an angle; past `turn` it comes back by one turn.
void Turn(float& angle, float speed, float dt, float turn) {
    angle += speed * dt;
    if (angle > turn) angle -= turn;
}

}  // namespace

void SceneThree::DrawSun() { ::DrawSun(textures[3]); }

void SceneThree::DrawCloudLayers() { ::DrawCloudLayers(textures[4], frameTime); }

void SceneThree::DrawLensFlare() { ::DrawLensFlare({textures[6], textures[7], textures[8]}, rayNoiseTexels, frameTime); }

bool SceneThree::NarrowToSunPixel() {
    if (platform::Drawing()) return true;
    // Lived through unseen: the flare needs only the depth under the sun's centre, so only that
    // pixel is cleared and drawn into, and nothing at all while the sun is off screen.
    float x = 0.0f, y = 0.0f;
    if (!FindSunOnScreen(x, y)) return false;
    int px = static_cast<int>(x), py = static_cast<int>(y);
    KeepInsideViewport(px, py);
    sunPixel[0] = px;
    sunPixel[1] = py;
    glEnable(GL_SCISSOR_TEST);
    glScissor(px, py, 1, 1);
    const platform::DrawingAllowed clear;
    glClear(GL_DEPTH_BUFFER_BIT);
    return true;
}

bool SceneThree::MayHideSun(const Bounds& box) const {
    if (platform::Drawing()) return true;
    GLdouble modelView[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return PixelRayMeetsBox(modelView, projection, viewport, sunPixel[0], sunPixel[1], box);
}

void SceneThree::DrawIslandSection() {
    SceneThreeAnimation& a = sceneThreeAnimation;
    Turn(a.islandAngle, 15.0f, frameTime, 360.0f);

    glClearColor(0.6f, 0.6f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The whole island scene turns in front of a camera tilted down by 15 degrees.
    glLoadIdentity();
    glTranslatef(0.0f, -2.5f, -9.0f);
    glRotatef(15.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(a.islandAngle, 0.0f, 1.0f, 0.0f);
    const GLfloat lightPosition[] = {0.0f, 20.0f, 40.0f, 1.0f};   // turns with the island
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(0.0f, 5.0f, 10.0f);
    const bool sunTested = NarrowToSunPixel();
    DrawSun();
    glPopMatrix();
    pass_times::Mark("clear and sun");

    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    if (!islandIndices.empty()) {
        glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), &island.vertices->x);
        glNormalPointer(GL_FLOAT, sizeof(MeshVertex), &island.vertices->nx);
        glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex), &island.vertices->s);
        const platform::DrawingAllowed occluder(sunTested && MayHideSun(islandBox));
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(islandIndices.size()), GL_UNSIGNED_SHORT,
                       islandIndices.data());
    }
    {
        const platform::DrawingAllowed occluder(sunTested && MayHideSun(treeBox));
        if (cullBranchBacks) {
            // The tree turns its branches' fronts clockwise and draws its leaves with culling off.
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
        }
        if (nearestLeavesFirst)
            leafOrder.Draw(*tree);
        else
            tree->DrawTree();
    }
    pass_times::Mark("island and tree");

    glDisable(GL_LIGHTING);
    DrawCloudLayers();
    pass_times::Mark("clouds");

    // The island and the tree have written depth, so they can hide the sun.
    glPushMatrix();
    glTranslatef(0.0f, 5.0f, 10.0f);
    DrawLensFlare();
    glPopMatrix();
    pass_times::Mark("lens flare");

    if (whiteFlash) DrawWhiteFlash();
    glEnable(GL_LIGHTING);
}

void SceneThree::DrawSeaSection() {
    SceneThreeAnimation& a = sceneThreeAnimation;
    Turn(a.rollAngle, 30.0f, frameTime, 360.0f);

    glClearColor(0.6f, 0.6f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A roll of ±10 degrees every 12 seconds.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glRotatef(10.0f * std::sin(a.rollAngle * 3.14f / 180.0f), 0.0f, 0.0f, 1.0f);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(4.5f, 1.5f, -3.0f);
    const bool sunTested = NarrowToSunPixel();
    DrawSun();
    glPopMatrix();
    pass_times::Mark("clear and sun");
    glPushMatrix();
    glTranslatef(0.0f, 3.0f, 0.0f);
    DrawCloudLayers();
    glPopMatrix();
    pass_times::Mark("clouds");

    glDisable(GL_LIGHTING);   // off for the rest of the scene
    glBindTexture(GL_TEXTURE_2D, textures[9]);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glPushMatrix();
    glTranslatef(0.0f, -3.5f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    const GLfloat fogColour[] = {0.6f, 0.6f, 1.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    DrawSea(sunTested);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glPopMatrix();
    pass_times::Mark("sea");

    // The sea has written depth, so it can hide the sun.
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    glTranslatef(4.5f, 1.5f, -3.0f);
    DrawLensFlare();
    glPopMatrix();
    pass_times::Mark("lens flare");

    if (whiteFlash) DrawWhiteFlash();
    if (fadeToRed) DrawRedFade();
}

void SceneThree::DrawSea(bool sunTested) {
    SceneThreeAnimation& a = sceneThreeAnimation;
    Turn(a.seaPhase, 4.0f, frameTime, 6.28f);
    Turn(a.seaScroll, 0.1f, frameTime, 1.0f);

    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(a.seaScroll, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(1.0f, 1.0f, 1.0f);
    // Ripples 0.05 high run along the grid's x axis.
    const TerrainVertex* v = sea.vertices.data();
    const std::uint32_t columns = sea.columns;
    const platform::DrawingAllowed occluder(sunTested && MayHideSun(seaBox));
    for (std::uint32_t r = 0; platform::Drawing() && r + 1 < sea.rows; ++r) {
        glBegin(GL_TRIANGLE_STRIP);
        for (std::uint32_t c = 0; c < columns; ++c) {
            for (const TerrainVertex* p : {&v[r * columns + c], &v[(r + 1) * columns + c]}) {
                glTexCoord2f(p->u, p->v);
                glVertex3f(p->x, p->y + 0.05f * std::sin(0.3f * p->x + a.seaPhase), p->z);
            }
        }
        glEnd();
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void SceneThree::DrawCreditsRoll() {
    SceneThreeAnimation& a = sceneThreeAnimation;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    a.creditsY += 45.71f * frameTime;

    // Left in place: nothing follows the credits.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);

    // 640 × 640 on screen, starting just below the bottom edge. Blending is still on from the
    // veil; the colour is opaque, so the picture covers the black.
    glBindTexture(GL_TEXTURE_2D, textures[11]);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, a.creditsY - 10.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, a.creditsY - 650.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(640.0f, a.creditsY - 10.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(640.0f, a.creditsY - 650.0f);
    glEnd();
}

void SceneThree::DrawWhiteFlash() {
    SceneThreeAnimation& a = sceneThreeAnimation;
    a.flashLevel -= 0.25f * frameTime;
    if (a.flashLevel < 0.0f) {
        whiteFlash = false;
        a.flashLevel = 1.0f;   // ready for the next flash
        return;
    }
    glColor3f(a.flashLevel, a.flashLevel, a.flashLevel);
    PushOverlaySpace();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    // The source colour weighs itself: the screen gains the square of the level.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    DrawFullScreenStrip();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    PopOverlaySpace();
}

void SceneThree::DrawRedFade() {
    SceneThreeAnimation& a = sceneThreeAnimation;
    a.redAlpha += 0.25f * frameTime;
    if (a.redAlpha > 1.0f) {
        a.redAlpha = 1.0f;
        creditsRoll = true;   // this frame still shows the veil; the next, the credits
    }
    glColor4f(0.25f, 0.0f, 0.0f, a.redAlpha);
    DrawFullScreenVeil();
}
