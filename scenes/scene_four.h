// scenes/scene_four.h — the section of the timeline called scene four: an underwater cave lit by
// two lights, with fog, caustics rippling over the walls, a sea floor, a water sheet and a
// fountain of glowing particles.
#pragma once

#include "effects/caustics.h"
#include "effects/particle_emitter.h"
#include "effects/water_surface.h"
#include "geometry/mesh.h"
#include "image/image.h"
#include "platform/gl.h"
#include "scene/scene.h"

// Animation state of the scene that lasts the whole run; nothing resets it if the scene runs
// again: the fade and the ripple timer go on from where they were.
struct SceneFourAnimation {
    float openingAlpha = 1.0f;   // opacity of the fade from black
    float disturbTimer = 0.0f;   // seconds before the water sheet is poked again
};
extern SceneFourAnimation sceneFourAnimation;

class SceneFour : public Scene {
public:
    SceneFour();
    // Frees the meshes and pictures only: on some exit paths it runs after the GL context is
    // gone, so it makes no GL call.
    ~SceneFour() override;

    void RegisterTextures(TextureRegistry& registry) override;
    bool Load() override;
    bool Start() override;
    bool Stop() override;
    bool Unload() override;
    bool Frame() override;

    static constexpr int kParticles = 140;

    bool openingFade = true;
    GLuint caveLists[3] = {0, 0, 0};
    WaterSurface water;
    ParticleEmitter emitter{kParticles};
    Mesh caveMeshes[3];
    Image causticFrames[kCausticFrameCount];

private:
    void ReadCave();
    void DrawCave();
    void DrawFloor();
    void DrawOpeningFade();
};
