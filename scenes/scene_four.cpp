// scenes/scene_four.cpp — the underwater cave (drawing arrives later).
#include "scenes/scene_four.h"

#include "demo/texture_registry.h"

SceneFour::SceneFour() { AllocateTextures(5); }

SceneFour::~SceneFour() {
    SceneFour::Unload();
    SceneFour::Stop();
}

void SceneFour::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\jaskinia.bmp", &textures[0]);
    registry.Add("TEKSTURY\\ziemia.bmp", &textures[1]);
    registry.Add("TEKSTURY\\WODA\\caust0.bmp", &textures[2]);
    registry.Add("TEKSTURY\\water3.bmp", &textures[3]);
    registry.Add("TEKSTURY\\particle.bmp", &textures[4]);
}

bool SceneFour::Load() { return Scene::Load(); }
bool SceneFour::Start() { return Scene::Start(); }
bool SceneFour::Stop() { return Scene::Stop(); }
bool SceneFour::Unload() { return Scene::Unload(); }

bool SceneFour::Frame() {
    if (!started || !loaded) return false;
    return Scene::Frame();
}
