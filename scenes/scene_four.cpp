// scenes/scene_four.cpp — loading, per-frame drawing and the teardown of the underwater cave.
#include "scenes/scene_four.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "app/extensions.h"
#include "app/settings.h"
#include "measure/pass_times.h"
#include "demo/texture_registry.h"
#include "geometry/mesh_list.h"
#include "platform/asset_path.h"
#include "scene/overlay_space.h"
#include "scenes/cave_caustics.h"
#include "scenes/end_frame.h"

namespace {

constexpr const char* kCaveFile = "DANE\\jaskinia.dat";

// Scale by 0.05 and a quarter turn about x: the file's z axis points up.
void ConvertVertices(Mesh& mesh) {
    for (int i = 0; i < mesh.vertexCount; ++i) {
        MeshVertex& v = mesh.vertices[i];
        const float y = v.y, ny = v.ny;
        v.x = v.x * 0.05f;
        v.y = v.z * 0.05f;
        v.z = -y * 0.05f;
        v.ny = v.nz;
        v.nz = -ny;
    }
}

}  // namespace

SceneFourAnimation sceneFourAnimation;

SceneFour::SceneFour() { AllocateTextures(5); }

SceneFour::~SceneFour() = default;

void SceneFour::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\jaskinia.bmp", &textures[0]);
    registry.Add("TEKSTURY\\ziemia.bmp", &textures[1]);
    registry.Add("TEKSTURY\\WODA\\caust0.bmp", &textures[2]);
    registry.Add("TEKSTURY\\water3.bmp", &textures[3]);
    registry.Add("TEKSTURY\\particle.bmp", &textures[4]);
}

// The file holds four meshes; the second is read and then replaced by the third, so the cave
// is made of the first, third and fourth. After the first mesh that cannot be read the rest
// stay empty, so a short file is named once.
void SceneFour::ReadCave() {
    for (Mesh& mesh : caveMeshes) mesh.Release();
    std::ifstream file;
    if (!OpenMeshFile(kCaveFile, file)) return;
    Mesh* const order[4] = {&caveMeshes[0], &caveMeshes[1], &caveMeshes[1], &caveMeshes[2]};
    for (Mesh* mesh : order)
        if (!ReadMesh(file, *mesh, kCaveFile)) return;
}

bool SceneFour::Load() {
    if (!Scene::Load()) return false;
    LoadCausticFrames(causticFrames, textures[2]);
    ReadCave();

    water.Init(32.0f, 32.0f);
    for (int round = 0; round < 4; ++round) {
        water.Disturb();
        water.Disturb();
        for (int step = 0; step < 100; ++step) water.Step();
    }
    for (int step = 0; step < 200; ++step) {
        emitter.Emit();
        emitter.Animate();
    }

    for (int k = 0; k < 3; ++k) {
        ConvertVertices(caveMeshes[k]);
        caveLists[k] = CompileMeshList(caveMeshes[k], kMeshListTexCoords | kMeshListNormals);
    }
    SplitAtFogStart();

    const GLfloat diffuse[4] = {1.0f, 0.9f, 0.2f, 0.55f};
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 0.55f};
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_AMBIENT, ambient);
        glLightf(light, GL_QUADRATIC_ATTENUATION, 0.02f);
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, diffuse);
    return true;
}

bool SceneFour::Start() {
    if (!Scene::Start()) return false;
    if (settings.useMultitexture && ext::glActiveTextureARB) {
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat fogColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_START, kFogStart);
    glFogf(GL_FOG_END, kFogEnd);
    glEnable(GL_FOG);
    // The sheet, the floor and the cave are seen from both sides of their winding; the scene
    // before leaves culling on with clockwise fronts, which would drop the floor.
    glDisable(GL_CULL_FACE);
    return true;
}

bool SceneFour::Stop() {
    if (!Scene::Stop()) return false;
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    return true;   // fog stays on
}

bool SceneFour::Unload() {
    if (!Scene::Unload()) return false;
    for (GLuint* list : {&caveLists[0], &caveLists[1], &caveLists[2], &nearerWallList, &furtherWallList,
                         &nearerRockList, &furtherRockList,
                         &nearerFrontRockList, &furtherFrontRockList}) {
        if (*list) glDeleteLists(*list, 1);
        *list = 0;
    }
    return true;   // the meshes and pictures stay until the destructor
}

bool SceneFour::Frame() {
    if (!started || !loaded) return false;
    Scene::Frame();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);   // the black scene two left
    pass_times::Mark("clear");
    LoadPerspective(45.0, aspectRatio, 128.0);
    LoadCaveView();
    DrawCave();

    glDisable(GL_TEXTURE_2D);
    if (openingFade) DrawOpeningFade();
    glEnable(GL_TEXTURE_2D);
    return EndFrame();
}

void SceneFour::DrawCave() {
    const GLfloat light0[4] = {-4.5f, 3.0f, -6.05f, 1.0f};
    const GLfloat light1[4] = {-4.0f, 3.0f, -28.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light0);
    glLightfv(GL_LIGHT1, GL_POSITION, light1);

    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);   // the walls are opaque, whatever the scene before left on
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    // Without fog (a scene driven on its own) there is nothing to split.
    const bool split = splitAtFogStart && nearerWallList != 0 && glIsEnabled(GL_FOG);
    const bool stages = split && wallStages;
    if (stages) {
        // The caustic picture moves on first: the stages read it in this pass.
        glBindTexture(GL_TEXTURE_2D, textures[2]);
        AdvanceCaustics(frameTime, causticFrames);
    }
    DrawCaveLists(split);
    pass_times::Mark("cave");

    // Caustics: the walls again, their own colour squared and added (with the stages, only the
    // further walls: the stages laid them on the nearer ones).
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDepthFunc(GL_LEQUAL);   // left so for the rest of the program
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, textures[2]);
    glColor3f(kCausticColour[0], kCausticColour[1], kCausticColour[2]);
    if (!stages) AdvanceCaustics(frameTime, causticFrames);
    if (!split) {
        glCallList(caveLists[0]);
    } else {
        if (!stages) {
            glDisable(GL_FOG);
            glCallList(nearerWallList);
            glEnable(GL_FOG);
        }
        glCallList(furtherWallList);
    }
    pass_times::Mark("caustics");

    float& disturbTimer = sceneFourAnimation.disturbTimer;
    disturbTimer -= frameTime;
    if (disturbTimer < 0.0f) {
        water.Disturb();
        disturbTimer = 1.0f;
    }

    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    DrawFloor(split);
    pass_times::Mark("floor");

    DrawWater(split);
    DrawParticles(split);

    glDisable(GL_BLEND);
}

// The water sheet, added over the cave with a sphere map; its nearer strips without fog.
void SceneFour::DrawWater(bool split) {
    glEnable(GL_BLEND);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, textures[3]);
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -15.0f);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    water.PrepareSurface();
    if (split) {
        const int nearerStrip = FirstNearerWaterStrip();
        water.DrawStrips(0, nearerStrip);
        glDisable(GL_FOG);
        water.DrawStrips(nearerStrip, WaterSurface::kSize - 1);
        glEnable(GL_FOG);
    } else {
        water.DrawStrips(0, WaterSurface::kSize - 1);
    }
    glPopMatrix();
    pass_times::Mark("water");
}

// The fountain's particles, added without writing depth.
void SceneFour::DrawParticles(bool split) {
    glPushMatrix();
    glTranslatef(-4.5f, 3.0f, -6.05f);
    emitter.Emit();
    emitter.Animate();
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glColor3f(0.2f, 0.2f, 0.2f);   // each particle sets its own colour
    glBindTexture(GL_TEXTURE_2D, textures[4]);
    const bool unfogged = split && ParticlesNearerThanFog();
    if (unfogged) glDisable(GL_FOG);
    emitter.DrawParticles();
    if (unfogged) glEnable(GL_FOG);
    glDepthMask(GL_TRUE);
    glPopMatrix();
    pass_times::Mark("particles");
}

// Two seconds from black; the frame in which the alpha drops below zero still draws it.
void SceneFour::DrawOpeningFade() {
    float& openingAlpha = sceneFourAnimation.openingAlpha;
    openingAlpha -= 0.5f * frameTime;
    if (openingAlpha < 0.0f) openingFade = false;
    glColor4f(0.0f, 0.0f, 0.0f, openingAlpha);
    PushOverlaySpace();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawFullScreenStrip();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    PopOverlaySpace();
}
