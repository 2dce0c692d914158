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
    // The clock is the whole milliseconds since an anchor, not a sum of frame steps, so it does
    // not drift at high frame rates. The anchor is the first Tick of the run, or the last Tick
    // before someone moved the clock.
    if (!tickStarted || clock != lastClock) {
        anchorTick = tickStarted ? lastTick : now;
        anchorClock = clock;
        tickStarted = true;
    }
    const std::uint32_t elapsed = now - anchorTick;   // unsigned difference: wrap-safe
    clock = anchorClock + static_cast<float>(static_cast<double>(elapsed) * 0.001);
    lastClock = clock;
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
