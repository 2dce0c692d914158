// scenes/scene_three.cpp — loading, start, teardown and the choice of section per frame.
#include "scenes/scene_three.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>

#include "app/settings.h"
#include "demo/texture_registry.h"
#include "platform/asset_path.h"
#include "platform/gl.h"
#include "platform/random.h"
#include "scene/overlay_space.h"
#include "scenes/end_frame.h"

SceneThree::SceneThree() { AllocateTextures(12); }   // zeroed: slot 5 never names a texture

SceneThree::~SceneThree() {
    SceneThree::Stop();
    SceneThree::Unload();
}

void SceneThree::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\kora.BMP", &textures[0]);
    registry.Add("TEKSTURY\\trawa.BMP", &textures[1]);
    registry.Add("TEKSTURY\\liscie.TGA", &textures[2]);
    registry.Add("TEKSTURY\\sun.BMP", &textures[3]);
    registry.Add("TEKSTURY\\sky.BMP", &textures[4]);
    registry.Add("TEKSTURY\\flare2.BMP", &textures[7]);
    registry.Add("TEKSTURY\\flare3.BMP", &textures[8]);
    registry.Add("TEKSTURY\\water2.BMP", &textures[9]);
    registry.Add("TEKSTURY\\waterenv.BMP", &textures[10]);
    registry.Add("TEKSTURY\\credits.BMP", &textures[11]);
}

bool SceneThree::Load() {
    if (!Scene::Load()) return false;

    glGenTextures(1, &textures[6]);
    glBindTexture(GL_TEXTURE_1D, textures[6]);
    glTexImage1D(GL_TEXTURE_1D, 0, 1, 256, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, rayNoiseTexels);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    // The island file is stored z-up; the scene is y-up.
    LoadMesh("DANE\\otchlan.dat", island);
    islandTop = 0.0f;
    for (int i = 0; i < island.vertexCount; ++i) {
        MeshVertex& v = island.vertices[i];
        v.x *= 0.08f, v.y *= 0.08f, v.z *= 0.08f;
        std::swap(v.y, v.z);
        std::swap(v.ny, v.nz);
        if (v.y > islandTop) islandTop = v.y;
    }
    // Triangles that name missing vertices are left out here, once, not at every draw.
    islandIndices.clear();
    int skipped = 0;
    for (int t = 0; t < island.triangleCount; ++t) {
        if (island.IsDrawable(t))
            islandIndices.insert(islandIndices.end(), island.indices + 3 * t, island.indices + 3 * t + 3);
        else
            ++skipped;
    }
    if (skipped > 0)
        std::fprintf(stderr, "meshes: %s has %d triangles naming missing vertices; they are not drawn\n",
                     "DANE\\otchlan.dat", skipped);

    // The tree's root, formed on the GL stack like the child transforms it grows from.
    GLfloat root[16];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, islandTop - 0.5f, 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, root);
    glPopMatrix();
    tree = std::make_unique<Tree>(7, 17);
    platform::SRand(264);   // the same tree on every run
    GrowBranch(*tree, root, 0, nullptr, 0.0f);
    tree->SetLeafTexture(textures[2]);
    tree->SetBarkTexture(textures[0]);

    track.LoadPath("DANE\\track3.dat", 0.08f);

    TerrainParams params;
    params.fileName = "TEKSTURY\\teren.BMP";
    params.cellsX = params.cellsZ = 24;
    params.subdivX = params.subdivZ = 4;
    params.sizeX = params.sizeZ = 75.0f;
    params.heightScale = 0.05f;
    params.baseLevel = 0.5f;
    sea.Build(params);
    sea.SetTextureRepeat(7.0f, 7.0f);
    sea.ComputeNormals();
    FindBoxes();
    return true;
}

void SceneThree::FindBoxes() {
    seaBox = Bounds{};
    for (const TerrainVertex& v : sea.vertices) seaBox.Add(v.x, v.y, v.z);
    seaBox.Widen(0.0f, 0.05f, 0.0f);   // the ripple's height either way
    islandBox = Bounds{};
    for (std::uint16_t i : islandIndices) {
        const MeshVertex& v = island.vertices[i];
        islandBox.Add(v.x, v.y, v.z);
    }
    treeBox = Bounds{};
    for (const TreePoint& p : tree->trunk->positions) treeBox.Add(p.x, p.y, p.z);
    // A leaf hangs 0.792 below its centre to 0.099 above and turns within 0.33 of it.
    for (const TreePoint& c : tree->leaves->centres) {
        treeBox.Add(c.x - 0.33f, c.y - 0.792f, c.z - 0.33f);
        treeBox.Add(c.x + 0.33f, c.y + 0.099f, c.z + 0.33f);
    }
}

bool SceneThree::Start() {
    if (!Scene::Start()) return false;
    LoadPerspective(60.0, aspectRatio, 256.0);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);   // the tree's normals are scaled with its branches
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_TEXTURE_1D);
    glEnable(GL_TEXTURE_2D);

    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 0.3f};
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 0.3f};
    const GLfloat material[] = {1.0f, 1.0f, 1.0f, 0.3f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, material);

    // The sea section switches the fog on around the sea only.
    const GLfloat fogColour[] = {0.6f, 0.6f, 1.0f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_START, 10.0f);
    glFogf(GL_FOG_END, 30.0f);
    glDisable(GL_FOG);
    return true;
}

bool SceneThree::Stop() { return Scene::Stop(); }

bool SceneThree::Unload() {
    if (!Scene::Unload()) return false;
    // Only the ray-noise texture is the scene's own; the pictures' names belong to the demo's
    // texture slots, which give them back at shutdown.
    glDeleteTextures(1, &textures[6]);
    textures[6] = 0;
    return true;
}

bool SceneThree::AdvanceFadeOut(float /*step*/) {
    fadeToRed = true;
    return true;
}

bool SceneThree::Frame() {
    if (!started || !loaded) return false;
    Scene::Frame();
    if (localTime >= kSeaSectionTime) sectionTwo = true;
    if (!sectionTwo) {
        DrawIslandSection();
    } else if (creditsRoll) {
        DrawCreditsRoll();
    } else {
        if (sceneThreeAnimation.firstSeaFrame) {
            whiteFlash = true;   // the second flash opens the sea
            sceneThreeAnimation.firstSeaFrame = false;
        }
        DrawSeaSection();
    }
    return EndFrame();
}
