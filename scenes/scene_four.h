// scenes/scene_four.h — the section of the timeline called scene four.
#pragma once

#include "scene/scene.h"

class SceneFour : public Scene {
public:
    SceneFour();
    ~SceneFour() override;

    void RegisterTextures(TextureRegistry& registry) override;
    bool Load() override;
    bool Start() override;
    bool Stop() override;
    bool Unload() override;
    bool Frame() override;
};
