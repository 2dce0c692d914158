// scenes/scene_three.h — the section of the timeline called scene three.
//
// A floating island with a grown tree, circled by the camera under a sun, cloud layers and a
// lens flare; then a rippling sea under the same sky, which sinks into a dark-red veil once
// the timeline's fade-out phase begins; then a credits picture scrolling up over black. A
// white flash fades out at the start of the island and of the sea.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "effects/lens_flare.h"
#include "effects/terrain.h"
#include "geometry/mesh.h"
#include "geometry/path_points.h"
#include "geometry/tree.h"
#include "geometry/window_point.h"
#include "scene/scene.h"
#include "scenes/nearest_leaves.h"

// Animation state of the scene that lasts the whole run; nothing resets it.
struct SceneThreeAnimation {
    float islandAngle = 0.0f;   // spin of the island, degrees
    float rollAngle = 0.0f;     // phase of the roll over the sea, degrees
    float seaPhase = 0.0f;      // phase of the ripple, radians
    float seaScroll = 0.0f;     // s offset of the sea texture
    float flashLevel = 1.0f;    // brightness of the white flash
    float redAlpha = 0.0f;      // opacity of the red veil
    float creditsY = 0.0f;      // upward scroll of the credits picture, pixels
    bool firstSeaFrame = true;  // the sea has not drawn a frame yet
};
extern SceneThreeAnimation sceneThreeAnimation;

// Scene time at which the island gives way to the sea.
constexpr float kSeaSectionTime = 15.3f;

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
    // Called in every frame of the fade-out phase: raises the flag that brings the red veil.
    bool AdvanceFadeOut(float step) override;

    bool sectionTwo = false;    // latched at scene time 15.3 s: the sea
    bool fadeToRed = false;     // latched in the fade-out phase: the red veil
    bool creditsRoll = false;   // latched when the veil is complete: the credits
    Mesh island;                // y-up and scaled after Load
    std::vector<std::uint16_t> islandIndices;   // the island's triangles that name existing vertices
    float islandTop = 0.0f;     // the island's largest y, never below 0; the tree stands 0.5 under it
    std::unique_ptr<Tree> tree;
    bool whiteFlash = true;
    RayNoiseTexels rayNoiseTexels = {};
    PathPoints track;           // loaded, never followed
    Terrain sea;
    // Draw the tree's leaves nearest first; off, in the order they grew. Tests compare the two.
    bool nearestLeavesFirst = true;
    // Draw the branches without their back faces: each is a tube, whose inside shows only
    // where it ends in leaves, a few pixels of a frame. Off, both sides. Tests compare the two.
    bool cullBranchBacks = true;
    NearestLeavesFirst leafOrder;

private:
    void FindBoxes();
    void DrawIslandSection();
    void DrawSeaSection();
    void DrawCreditsRoll();
    // The sea's strips; `sunTested` lets them through while frames are lived through unseen.
    void DrawSea(bool sunTested);
    // With the drawing gate shut, narrows drawing to the pixel under the sun and clears its
    // depth; false when the sun is off screen. True whenever the gate is open.
    bool NarrowToSunPixel();
    // With the drawing gate shut: whether anything inside `box` (in the current frame) can
    // cover the pixel under the sun. True whenever the gate is open.
    bool MayHideSun(const Bounds& box) const;
    int sunPixel[2] = {0, 0};   // the pixel under the sun, while lived through unseen
    Bounds seaBox;              // the sea with its ripple, in its own frame
    Bounds islandBox;           // the island, in the island's frame
    Bounds treeBox;             // the branches and every place a leaf can turn to
    void DrawWhiteFlash();
    void DrawRedFade();
    void DrawSun();
    void DrawCloudLayers();
    void DrawLensFlare();
};
