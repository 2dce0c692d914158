// scene/scene.h — the base of every section of the timeline.
//
// Adds to SceneObject the load/start/stop/unload flags that make each transition happen
// once, the scene's own clock (localTime, frameTime) and its array of GL texture names,
// which the loading screen fills through the texture registry.
#pragma once

#include <cstdint>

#include "platform/gl.h"
#include "scene/scene_object.h"

class TextureRegistry;

class Scene : public SceneObject {
public:
    Scene() = default;
    ~Scene() override;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    virtual void RegisterTextures(TextureRegistry& registry);
    virtual bool Load();
    virtual bool Start();
    virtual bool Stop();
    virtual bool Unload();
    // Advances the scene clock; concrete scenes draw after calling it.
    virtual bool Frame();

    bool Draw() override;

    // Allocates `count` texture-name entries (derived constructors call it).
    void AllocateTextures(int count);

    bool loaded = false;
    bool started = false;
    float localTime = 0.0f;
    float frameTime = 0.0f;
    GLuint* textures = nullptr;
    int textureCount = 0;
};

// Forgets the tick of the last scene frame, so the next frame measures from itself (tests).
void ResetSceneClock();
