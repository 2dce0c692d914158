// scenes/scene_three.h — the section of the timeline called scene three.
#pragma once

#include "scene/scene.h"

class SceneThree : public Scene {
public:
    SceneThree();
    ~SceneThree() override;

    void RegisterTextures(TextureRegistry& registry) override;
    bool Load() override;
    bool Start() override;
    bool Stop() override;
    bool Unload() override;
    bool Frame() override;
};
