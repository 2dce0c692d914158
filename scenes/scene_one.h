// scenes/scene_one.h — the section of the timeline called scene one.
//
// An environment-mapped object over a translucent mirror floor, seen from a camera flying a
// closed path, in front of rotating background layers; black fades, two jittering captions,
// three flying sprites, and a violet veil over the last half second.
#pragma once

#include <memory>
#include <vector>

#include "geometry/camera_path.h"
#include "geometry/mesh.h"
#include "geometry/path_points.h"
#include "scene/fade_overlay.h"
#include "scene/flying_sprite.h"
#include "scene/jitter_image.h"
#include "scene/scene.h"
#include "scene/scheduled_object.h"

// Demo time 0.2 to 50 s; everything inside runs on the scene's own localTime.
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
    // The last half second of the window raises the closing flag that brings the veil.
    bool AdvanceFadeOut(float step) override;

    // The fade windows, the turn timers, the sprites and the captions: everything Load sets up
    // that needs no GL and no file.
    void ScheduleObjects();

    // One frame of the turn and the twist at scene time t with step dt: the timers pick the
    // acceleration (positive over negative over braking), then the speeds and angles move.
    void StepTurn(float t, float dt);

    GLuint mainList = 0;
    GLuint frameList = 0;
    std::unique_ptr<JitterImage> codeCaption;
    std::unique_ptr<JitterImage> musicCaption;
    Mesh mainMesh;
    Mesh frameMesh;
    std::vector<float> weights;   // one per vertex of mainMesh while vertex weighting is in use
    PathPoints trackPoints;
    CameraPath camera;
    FadeOverlay fade;
    FlyingSprite sprites[3];
    ScheduledObject turnPositiveTimer;
    ScheduledObject turnNegativeTimer;
    ScheduledObject turnBrakeTimer;
    bool closing = false;
    // Leave out drawing no viewer can see: the 3D picture under a fully opaque fade, and the
    // background under the object (drawn behind it, last), and the background's mipmaps where
    // the layers only magnify. Off, every frame draws everything in the plain order; tests
    // compare the two.
    bool skipHiddenWork = true;
    // Background layers the context can draw as one multitextured pass (with skipHiddenWork).
    int backgroundLayersInOnePass = 0;

    // Animation state carried from frame to frame, never reset.
    float turnSpeed = 0.0f;   // degrees per second
    float turnAngle = 0.0f;   // degrees
    float twistAngle = 0.0f;  // degrees the outer vertices lag behind the turn
    float twistSpeed = 0.0f;
    float layerAngles[3] = {0.0f, 0.0f, 0.0f};
    float veilAlpha = 0.0f;

private:
    static bool Multitexture();
    static bool VertexWeighting();
    // Unit 1 adds `texture` to unit 0's colour; unit 0 is left active.
    static void AddOnSecondUnit(GLuint texture);
    static void DisableSecondUnit();
    static void SecondUnitTexCoord(float s, float t);
    void CompileMeshLists();
    void DrawObjectAndReflection(bool hidden);
    void AdvanceBackgroundLayers();
    void DrawBackground();
    void DrawBackgroundBehind();
    void DrawBackgroundLayer(float angle);
    void BindObjectTextures();
    void DrawMirrorFloor(bool hidden);
    void DrawOverlays();
    void DrawClosingVeil();
    void SetUpTwistMatrix();
};

// Blend weights for vertex weighting: 1 within distance 10 of the origin, falling linearly to
// 0 at the farthest vertex. `weights` receives `count` values.
void ComputeVertexWeights(const MeshVertex* vertices, int count, float* weights);
