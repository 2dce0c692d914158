// scenes/scene_two.h — the section of the timeline called scene two: a camera inside a starry
// sphere, an orbiting chrome ball and a cloud of additive cubes morphing between shapes.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gl.h"
#include "scene/scene.h"
#include "scene/scheduled_object.h"
#include "scenes/point_set.h"

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

    // Cubes per glDrawElements call, and cubes the index table covers.
    static constexpr std::uint32_t kBatchCubes = 800;
    static constexpr int kIndexedCubes = 1000;
    static constexpr std::size_t kVertexBufferBytes = 160000;

    std::unique_ptr<std::uint16_t[]> cubeIndices;   // kIndexedCubes × 24, shared by every batch
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

private:
    void DrawSky();
    void DrawBallAndCloud(const PointSet& set);
    void DrawNoiseFlicker();
    void DrawOpeningFade();
    void DrawClosingFade();
};
