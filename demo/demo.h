// demo/demo.h — the timeline: the scenes, the demo clock, scene switching and loading.
#pragma once

#include <vector>

#include "demo/texture_registry.h"
#include "image/image.h"
#include "image/texture.h"

class Scene;

constexpr int kTextureSlots = 30;

class Demo {
public:
    Demo() = default;
    virtual ~Demo() = default;
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // Registers the scene's textures, appends it and extends the end of the timeline.
    bool AddScene(Scene* scene);
    // One frame: advances the clock, switches scenes, lets the current scene draw. False once
    // the clock has passed the end of the timeline.
    bool Tick();
    void SelectScene();

    // The loading screen: every registered texture once, then every scene's Load.
    bool LoadAll();
    // The same a unit at a time, for a loop that must hand control back between them (the
    // browser shows the bar only then): BeginLoading, then LoadNext until it returns false.
    void BeginLoading();
    // Loads the next texture or scene and draws the bar; false once everything is loaded.
    bool LoadNext();
    void DrawProgress();

    // Gives back the GL names of the texture slots; the shell calls it while the context is
    // still current, after the scenes that use the names have unloaded.
    void ReleaseTextures();

    // Forgets the first-tick state, so the next Tick starts the clock afresh (tests).
    void ResetClock();
    // The tick count the last Tick read: the moment of the picture it drew.
    std::uint32_t LastTick() const { return lastTick; }

    Image barFrame;
    Image barFill;
    float progress = 0.0f;
    float endTime = -1.0f;
    int barX = 0;
    int barY = 0;
    float clock = 0.0f;
    TextureRegistry registry;
    Texture2D textureSlots[kTextureSlots];
    std::vector<Scene*> scenes;
    Scene* currentScene = nullptr;

private:
    void LoadTextureSlot(int slot);

    int loaded = 0;      // textures, then scenes, loaded so far
    Image loadScratch;   // the last picture read: a slot whose file cannot be read gets it again
    bool tickStarted = false;
    std::uint32_t lastTick = 0;
    std::uint32_t anchorTick = 0;   // the tick at which the clock read anchorClock
    float anchorClock = 0.0f;
    float lastClock = 0.0f;         // the clock as the last Tick left it
};

// Width in pixels of the bar's filling at `progress` percent (values above 100 count as 100).
int ProgressBarWidth(float progress);
