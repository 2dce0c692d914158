// scenes/scene_one.h — the section of the timeline called scene one.
#pragma once

#include "scene/scene.h"

class SceneOne : public Scene {
public:
    SceneOne();
    ~SceneOne() override;

    void RegisterTextures(TextureRegistry& registry) override;
    bool Load() override;
    bool Start() override;
    bool Stop() override;
    bool Unload() override;
    bool Frame() override;
};
