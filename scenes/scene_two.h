// scenes/scene_two.h — the section of the timeline called scene two.
#pragma once

#include "scene/scene.h"

class SceneTwo : public Scene {
public:
    SceneTwo();
    ~SceneTwo() override;

    void RegisterTextures(TextureRegistry& registry) override;
    bool Load() override;
    bool Start() override;
    bool Stop() override;
    bool Unload() override;
    bool Frame() override;
};
