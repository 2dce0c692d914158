// scenes/scene_one.cpp — loading, per-frame drawing and the teardown of scene one.
#include "scenes/scene_one.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/extensions.h"
#include "measure/pass_times.h"
#include "app/settings.h"
#include "demo/texture_registry.h"
#include "geometry/mesh_list.h"
#include "platform/asset_path.h"
#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "scenes/background_layers.h"
#include "scenes/end_frame.h"

// The switches, plus the entry points they promise, so a scene driven without extension
// detection (tests) cannot call through a null pointer.
bool SceneOne::Multitexture() {
    return settings.useMultitexture && ext::glActiveTextureARB && ext::glMultiTexCoord2fARB &&
           ext::glClientActiveTextureARB;
}

bool SceneOne::VertexWeighting() { return settings.useVertexWeighting && ext::glVertexWeightfEXT; }

void ComputeVertexWeights(const MeshVertex* vertices, int count, float* weights) {
    float maxR = 0.0f;
    for (int i = 0; i < count; ++i) {
        const MeshVertex& v = vertices[i];
        const float r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        if (r > maxR) maxR = r;
    }
    for (int i = 0; i < count; ++i) {
        const MeshVertex& v = vertices[i];
        const float r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        // Only vertices beyond 10 reach the division, so then maxR > 10 as well.
        weights[i] = r <= 10.0f ? 1.0f : 1.0f - (r - 10.0f) / (maxR - 10.0f);
    }
}

SceneOne::SceneOne() { AllocateTextures(10); }

SceneOne::~SceneOne() {
    SceneOne::Unload();
    SceneOne::Stop();
}

void SceneOne::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\env.bmp", &textures[0]);
    registry.Add("TEKSTURY\\code.bmp", &textures[1]);
    registry.Add("TEKSTURY\\music.bmp", &textures[2]);
    registry.Add("TEKSTURY\\background.bmp", &textures[3]);
    registry.Add("TEKSTURY\\stars.bmp", &textures[4]);
    registry.Add("TEKSTURY\\gray.bmp", &textures[5]);
    registry.Add("TEKSTURY\\tekstura01.bmp", &textures[6]);
}

void SceneOne::ScheduleObjects() {
    fade.SetColor(0.0f, 0.0f, 0.0f);
    fade.AddWindow(0.0f, 1.0f, 0.0f, 1.0f);
    fade.AddWindow(1.0f, 5.5f, 2.0f, 0.0f);
    fade.AddWindow(5.5f, 8.8f, 0.0f, 1.0f);
    fade.AddWindow(8.8f, 12.5f, 2.0f, 0.0f);
    fade.AddWindow(12.5f, 13.65f, 0.0f, 0.33f);

    turnNegativeTimer.AddWindow(15.0f, 22.0f, 0.0f, 0.0f);
    turnNegativeTimer.AddWindow(33.0f, 40.0f, 0.0f, 0.0f);
    turnPositiveTimer.AddWindow(22.0f, 30.0f, 0.0f, 0.0f);
    turnBrakeTimer.AddWindow(30.0f, 33.0f, 0.0f, 0.0f);

    sprites[0].SetPath(200.0f, 0.0f, -100.0f, 480.0f);
    sprites[0].SetSize(200.0f, 100.0f);
    sprites[0].SetSpin(720.0f);
    sprites[0].SetTiming(13.65f, 21.0f, 0.0f, 0.0f);
    sprites[1].SetPath(-100.0f, 120.0f, 750.0f, 420.0f);
    sprites[1].SetSize(100.0f, 100.0f);
    sprites[1].SetSpin(1440.0f);
    sprites[1].SetTiming(14.0f, 24.0f, 0.0f, 0.0f);
    sprites[2].SetPath(0.0f, 480.0f, 640.0f, 480.0f);
    sprites[2].SetSize(300.0f, 300.0f);
    sprites[2].SetSpin(960.0f);
    sprites[2].SetTiming(14.25f, 30.0f, 0.0f, 0.0f);

    codeCaption = std::make_unique<JitterImage>(&textures[1]);
    codeCaption->SetTiming(2.5f, 6.5f, 1.0f, 1.0f);
    codeCaption->SetRect(364, 20, 620, 276);
    codeCaption->Enable();
    musicCaption = std::make_unique<JitterImage>(&textures[2]);
    musicCaption->SetTiming(3.0f, 7.0f, 1.0f, 1.0f);
    musicCaption->SetRect(20, 204, 276, 460);
    musicCaption->Enable();
}

bool SceneOne::Load() {
    if (!Scene::Load()) return false;
    ScheduleObjects();

    LoadMesh("DANE\\data.dat", mainMesh);
    LoadMesh("DANE\\ramka.dat", frameMesh);

    for (int i = 0; i < mainMesh.vertexCount; ++i) {
        MeshVertex& v = mainMesh.vertices[i];
        v.x *= 0.1f, v.y *= 0.1f, v.z *= 0.1f;
    }
    if (VertexWeighting()) {
        weights.assign(static_cast<std::size_t>(mainMesh.vertexCount), 0.0f);
        ComputeVertexWeights(mainMesh.vertices, mainMesh.vertexCount, weights.data());
    }
    for (int i = 0; i < frameMesh.vertexCount; ++i) {
        MeshVertex& v = frameMesh.vertices[i];
        v.x *= 0.1f, v.y *= 0.1f, v.z *= 0.1f;
        v.z -= 7.5f;   // onto the floor plane
    }

    CompileMeshLists();

    trackPoints.LoadPath("DANE\\track.dat", 0.075f, false);
    camera.SetPoints(&trackPoints);
    camera.SetTiming(0.0f, 50.0f, 0.0f, 0.0f);
    return true;
}

// The object and the floor mesh as display lists, with the optional extension calls baked in.
// Triangles whose indices name missing vertices are left out of the lists.
void SceneOne::CompileMeshLists() {
    const bool multitexture = Multitexture();
    const bool weighting = !weights.empty();
    mainList = CompileMeshList(mainMesh, kMeshListNormals, [&](int i) {
        if (weighting) ext::glVertexWeightfEXT(weights[static_cast<std::size_t>(i)]);
        if (multitexture) {
            const MeshVertex& v = mainMesh.vertices[i];
            ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, v.s, v.t);
        }
    });
    frameList = CompileMeshList(frameMesh, kMeshListTexCoords);
}

bool SceneOne::Start() {
    if (!Scene::Start()) return false;
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnable(GL_TEXTURE_2D);
    LoadPerspective(60.0, aspectRatio, 256.0);
    // Generation is switched on only while the object is drawn.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    backgroundLayersInOnePass = BackgroundLayersInOnePass();
    return true;
}

bool SceneOne::Stop() {
    if (!Scene::Stop()) return false;
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (VertexWeighting()) {
        glDisableClientState(GL_VERTEX_WEIGHT_ARRAY_EXT);
        glDisable(GL_VERTEX_WEIGHTING_EXT);
        glDisable(GL_NORMALIZE);
    }
    if (Multitexture()) {
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        ext::glClientActiveTextureARB(GL_TEXTURE1_ARB);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
    }
    return true;
}

bool SceneOne::Unload() {
    if (!Scene::Unload()) return false;
    if (mainList) glDeleteLists(mainList, 1);
    if (frameList) glDeleteLists(frameList, 1);
    mainList = 0;
    frameList = 0;
    codeCaption.reset();
    musicCaption.reset();
    weights.clear();
    mainMesh.Release();
    frameMesh.Release();
    return true;
}

bool SceneOne::AdvanceFadeOut(float /*step*/) {
    closing = true;
    return true;
}

void SceneOne::StepTurn(float t, float dt) {
    turnPositiveTimer.Update(t, 0.0f);
    turnNegativeTimer.Update(t, 0.0f);
    turnBrakeTimer.Update(t, 0.0f);

    float acceleration = 0.0f;
    if (turnPositiveTimer.IsActive(t, 0.0f)) {
        acceleration = 60.0f;
    } else if (turnNegativeTimer.IsActive(t, 0.0f)) {
        acceleration = -60.0f;
    } else if (turnBrakeTimer.IsActive(t, 0.0f)) {
        turnSpeed *= 0.965f;   // per frame, so braking follows the frame rate
    }
    turnSpeed += acceleration * dt;
    if (turnSpeed > 120.0f) turnSpeed = 120.0f;
    if (turnSpeed < -120.0f) turnSpeed = -120.0f;
    turnAngle += turnSpeed * dt;

    // A damped spring pulled by the turn: the outer part of the object lags behind.
    twistSpeed += (-0.5f * turnSpeed - 2.5f * twistAngle) * dt;
    twistAngle += twistSpeed * dt;
    twistAngle *= 0.995f;
}

bool SceneOne::Frame() {
    if (!started || !loaded) return false;
    Scene::Frame();
    const float t = localTime, dt = frameTime;

    StepTurn(t, dt);
    AdvanceBackgroundLayers();
    // Under a fully opaque fade the 3D picture cannot be seen: its state still moves on, its
    // drawing calls are left out.
    const bool hidden = skipHiddenWork && fade.CoversAt(t);
    // The background is drawn after the object and its reflection, behind them: only the pixels
    // they leave uncovered get its layers.
    const bool backgroundLast = skipHiddenWork;

    // The background covers every pixel, so only depth needs clearing.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    if (!hidden && !backgroundLast) DrawBackground();
    pass_times::Mark(backgroundLast ? "depth clear" : "background");

    glLoadIdentity();
    camera.Update(t, dt);
    DrawObjectAndReflection(hidden);

    if (!hidden && backgroundLast) {
        DrawBackgroundBehind();
        pass_times::Mark("background behind");
    }

    DrawMirrorFloor(hidden);
    pass_times::Mark("mirror floor");
    // The floor mesh keeps the floor's gray texture, white colour, depth test and culling.
    glFrontFace(GL_CCW);
    if (!hidden) glCallList(frameList);
    pass_times::Mark("floor mesh");

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    fade.Update(t, dt);
    glEnable(GL_BLEND);

    pass_times::Mark("black fade");
    DrawOverlays();
    if (closing) DrawClosingVeil();
    pass_times::Mark("overlays");
    return EndFrame();
}

// The object turned by the turn angle, and its reflection in the floor plane, both through the
// sphere-map environment (and the twist when vertex weighting is in use). Leaves the camera
// matrix current.
void SceneOne::DrawObjectAndReflection(bool hidden) {
    const bool multitexture = Multitexture();
    const bool weighting = VertexWeighting();
    glPushMatrix();
    glRotatef(turnAngle, 0.0f, 0.0f, 1.0f);
    BindObjectTextures();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glFrontFace(GL_CCW);
    if (weighting) {
        SetUpTwistMatrix();
        glEnable(GL_VERTEX_WEIGHTING_EXT);
    }
    if (!hidden) glCallList(mainList);
    pass_times::Mark("object");

    if (settings.detailLevel > 0) {
        // The reflection: a mirror in the plane z = -7.5, turned like the object.
        glPopMatrix();
        glPushMatrix();
        glPushMatrix();
        glScalef(1.0f, 1.0f, -1.0f);
        glTranslatef(0.0f, 0.0f, 15.0f);
        glRotatef(turnAngle, 0.0f, 0.0f, 1.0f);
        if (weighting) SetUpTwistMatrix();
        glCullFace(GL_FRONT);   // the mirror flips the winding
        if (!hidden) glCallList(mainList);
        glCullFace(GL_BACK);
        glPopMatrix();
        pass_times::Mark("reflection");
    }

    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (multitexture) DisableSecondUnit();
    if (weighting) glDisable(GL_VERTEX_WEIGHTING_EXT);
    glPopMatrix();
}

