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

// The camera of the section, fixed: loads the model-view every frame draws the cave with.
void LoadCaveView();

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
    static constexpr float kFogStart = 28.0f;
    static constexpr float kFogEnd = 38.0f;
    static constexpr float kCausticColour[3] = {0.1f, 0.35f, 0.35f};

    bool openingFade = true;
    GLuint caveLists[3] = {0, 0, 0};
    WaterSurface water;
    ParticleEmitter emitter{kParticles};
    Mesh caveMeshes[3];
    Image causticFrames[kCausticFrameCount];
    // Draw what lies wholly nearer than the fog's start without fog (the fog leaves it as it
    // is), lay the caustics on those walls in the walls' own pass where the context has the
    // combiner stages for it, and cull the back faces of the rocks whose front faces
    // cover them; off, every surface is drawn as the plain passes draw it. Tests compare the two.
    bool splitAtFogStart = true;
    // The cave meshes split for that (0 when not built): the first mesh's triangles nearer than
    // the fog's start (with the stages' coordinates where the context has them) and the others,
    // and the same for the other two meshes together.
    GLuint nearerWallList = 0;
    GLuint furtherWallList = 0;
    GLuint nearerRockList = 0;
    GLuint furtherRockList = 0;
    GLuint nearerFrontRockList = 0;   // the rocks that hide their back faces, drawn without them
    GLuint furtherFrontRockList = 0;
    bool wallStages = false;     // the nearer walls carry the stages' coordinates
    int firstNearerFloorRow = 16;   // the floor's rows from here on lie nearer than the fog's start

private:
    void ReadCave();
    void SplitAtFogStart();
    void DrawCaveLists(bool split);
    void DrawFrontFaces(GLuint list);
    int FirstNearerWaterStrip() const;
    bool ParticlesNearerThanFog() const;
    void DrawCave();
    void DrawFloor(bool split);
    void DrawWater(bool split);
    void DrawParticles(bool split);
    void DrawOpeningFade();
};
