// scenes/scene_two.h — the section of the timeline called scene two: a camera inside a starry
// sphere, an orbiting chrome ball and a cloud of additive cubes morphing between shapes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gl.h"
#include "scene/scene.h"
#include "scene/scheduled_object.h"
#include "scenes/morph_timer.h"
#include "scenes/point_set.h"

// Animation state of the scene that lasts the whole run; nothing resets it if the scene runs
// again.
struct SceneTwoAnimation {
    float cameraA = 0.0f;          // camera turn about x, degrees
    float cameraB = 0.0f;          // about y
    float cameraC = 0.0f;          // about z
    float ballD = 0.0f;            // phases of the ball's orbit along x, y and z, degrees
    float ballE = 0.0f;
    float ballF = 0.0f;
    float wavePhase = 0.0f;        // phase of the wave plane, radians
    MorphTimer morph;              // which shape the cloud holds and how far it has scattered
    bool flickerTimersSet = false; // the flicker's timers have been drawn once
    float gapTimer = 0.0f;         // seconds before the next noise burst
    float burstTimer = 0.0f;       // seconds the burst still lasts
    float openingAlpha = 1.0f;     // opacity of the violet fade from the start
    float closingAlpha = 0.0f;     // opacity of the fade to black
};
extern SceneTwoAnimation sceneTwoAnimation;

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
    // Raised in every frame of the fade-out phase; Frame then fades to black.
    bool AdvanceFadeOut(float step) override;

    // The noise flickers, in demo time.
    struct FlickerWindow {
        float start, end;
    };
    static constexpr FlickerWindow kFlickerWindows[6] = {{52.1f, 53.3f}, {58.8f, 60.1f}, {65.5f, 66.8f},
                                                         {72.2f, 73.5f}, {79.0f, 80.3f}, {81.8f, 83.1f}};

    // The perspective's planes, and the ball's radius.
    static constexpr float kNearPlane = 1.0f;
    static constexpr float kFarPlane = 256.0f;
    static constexpr float kBallRadius = 6.0f;

    // Cubes (or loops of corners) the index tables cover: more than a batch holds.
    static constexpr int kIndexedCubes = 1000;
    static constexpr std::size_t kVertexBufferBytes = 160000;

    std::unique_ptr<std::uint16_t[]> cubeIndices;   // kIndexedCubes × 24, shared by every batch
    std::unique_ptr<std::uint16_t[]> loopIndices;   // kIndexedCubes × 12, the same for outlines
    std::unique_ptr<CloudPoint[]> vertexBuffer;      // system-memory batch when there is no AGP range
    std::unique_ptr<PointSet> lattice;
    std::unique_ptr<PointSet> cylinder;
    std::unique_ptr<PointSet> wavePlane;
    std::unique_ptr<PointSet> scatter;
    std::unique_ptr<PointSet> morphed;   // what is drawn: the shape blended towards the scatter
    ScheduledObject flickerSchedule;     // demo-time windows of the noise flicker
    GLUquadric* ballQuadric = nullptr;
    GLUquadric* skyQuadric = nullptr;
    bool openingFade = true;
    bool closingFade = false;
    std::uint8_t noiseTexels[256] = {};
    std::uint8_t sphereDetail = 16;   // slices and stacks of both spheres, from the level at Load
    // Draw the sky's two layers in one multitextured pass where the driver can (from Start on);
    // off, the two passes. Tests compare the two.
    bool skyInOnePass = true;
    GLuint skyProgram = 0;            // the one pass's vertex program; 0: two passes
    // Draw each cube as its outline from the eye, and the cubes apart from the ball without
    // the depth test; off, each as six depth-tested quads. Tests compare the two.
    bool cloudOutlines = true;
    std::vector<CloudPoint> nearBall;   // this frame's cubes that may meet the ball on screen

private:
    void PrepareSkyInOnePass();
    void ReleaseSkyInOnePass();
    void DrawSky();
    void DrawSkyInOnePass();
    void DrawBallAndCloud(const PointSet& set);
    void DrawBall(float cx, float cy, float cz);
    void DrawCloud(const PointSet& set, float cx, float cy, float cz);
    void DrawCloudCubes(const PointSet& set, float cx, float cy, float cz);
    void DrawCloudOutlines(const PointSet& set, float cx, float cy, float cz);
    void DrawNoiseFlicker();
    void DrawOpeningFade();
    void DrawClosingFade();
};
