// scenes/scene_one.cpp — the chrome object over the mirror floor (drawing arrives later).
#include "scenes/scene_one.h"

#include "demo/texture_registry.h"

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

bool SceneOne::Load() { return Scene::Load(); }
bool SceneOne::Start() { return Scene::Start(); }
bool SceneOne::Stop() { return Scene::Stop(); }
bool SceneOne::Unload() { return Scene::Unload(); }

bool SceneOne::Frame() {
    if (!started || !loaded) return false;
    return Scene::Frame();
}
