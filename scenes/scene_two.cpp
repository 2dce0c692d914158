// scenes/scene_two.cpp — the morphing cloud of cubes (drawing arrives later).
#include "scenes/scene_two.h"

#include "demo/texture_registry.h"

SceneTwo::SceneTwo() { AllocateTextures(4); }

SceneTwo::~SceneTwo() {
    SceneTwo::Unload();
    SceneTwo::Stop();
}

void SceneTwo::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\env2.bmp", &textures[0]);
    registry.Add("TEKSTURY\\stars2.bmp", &textures[1]);
    registry.Add("TEKSTURY\\stars.bmp", &textures[3]);
}

bool SceneTwo::Load() { return Scene::Load(); }
bool SceneTwo::Start() { return Scene::Start(); }
bool SceneTwo::Stop() { return Scene::Stop(); }
bool SceneTwo::Unload() { return Scene::Unload(); }

bool SceneTwo::Frame() {
    if (!started || !loaded) return false;
    return Scene::Frame();
}
