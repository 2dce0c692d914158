// scenes/scene_three.cpp — the floating island, the sea and the credits (drawing arrives later).
#include "scenes/scene_three.h"

#include "demo/texture_registry.h"

SceneThree::SceneThree() { AllocateTextures(12); }

SceneThree::~SceneThree() {
    SceneThree::Unload();
    SceneThree::Stop();
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

bool SceneThree::Load() { return Scene::Load(); }
bool SceneThree::Start() { return Scene::Start(); }
bool SceneThree::Stop() { return Scene::Stop(); }
bool SceneThree::Unload() { return Scene::Unload(); }

bool SceneThree::Frame() {
    if (!started || !loaded) return false;
    return Scene::Frame();
}
