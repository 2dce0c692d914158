// demo/demo.cpp — scene list, demo clock and scene switching.
#include "demo/demo.h"

#include "platform/tick.h"
#include "scene/scene.h"

bool Demo::AddScene(Scene* scene) {
    scene->RegisterTextures(registry);
    scenes.push_back(scene);
    if (scene->GetEndTime() > endTime) endTime = scene->GetEndTime();
    return true;
}

bool Demo::Tick() {
    const std::uint32_t now = platform::GetTickCount();
    if (!tickStarted) {
        lastTick = now;
        tickStarted = true;
    }
    clock += static_cast<float>(now - lastTick) * 0.001f;   // unsigned difference: wrap-safe
    lastTick = now;
    SelectScene();
    if (currentScene) currentScene->Update(clock, 0.0f);
    return clock <= endTime;
}

void Demo::SelectScene() {
    if (currentScene && currentScene->IsActive(clock, 0.0f)) return;
    if (currentScene) {
        currentScene->Unload();
        currentScene->Stop();
        currentScene = nullptr;
    }
    for (Scene* scene : scenes) {
        if (scene->IsActive(clock, 0.0f)) {
            currentScene = scene;
            scene->Start();
            return;
        }
    }
}

void Demo::ResetClock() { tickStarted = false; }

void Demo::ReleaseTextures() {
    for (Texture2D& slot : textureSlots) slot.Release();
}
