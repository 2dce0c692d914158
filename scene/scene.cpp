// scene/scene.cpp — transition flags and the scene clock.
#include "scene/scene.h"

#include "platform/tick.h"

namespace {

// One tick shared by every scene: a scene's first frame measures from the last frame of the
// scene before it.
bool frameTickSet = false;
std::uint32_t lastFrameTick = 0;

}  // namespace

Scene::~Scene() {
    delete[] textures;
    textures = nullptr;
    Scene::Unload();
    Scene::Stop();
}

void Scene::RegisterTextures(TextureRegistry& /*registry*/) {}

bool Scene::Load() {
    if (loaded) return false;
    loaded = true;
    return true;
}

bool Scene::Start() {
    if (started) return false;
    started = true;
    return true;
}

bool Scene::Stop() {
    if (!started) return false;
    started = false;
    return true;
}

bool Scene::Unload() {
    if (!loaded) return false;
    loaded = false;
    return true;
}

bool Scene::Frame() {
    if (!frameTickSet) {
        lastFrameTick = platform::GetTickCount();
        frameTickSet = true;
    }
    const std::uint32_t now = platform::GetTickCount();
    frameTime = static_cast<float>(now - lastFrameTick) * 0.001f;   // unsigned: survives the wrap
    localTime += frameTime;
    lastFrameTick = now;
    return true;
}

bool Scene::Draw() { return Frame(); }

void Scene::AllocateTextures(int count) {
    delete[] textures;
    textureCount = count;
    textures = new GLuint[count]();
}

void ResetSceneClock() { frameTickSet = false; }
