// geometry/camera_path.h — a camera that flies along a closed path, looking at the origin.
#pragma once

#include "geometry/path_points.h"
#include "scene/scene_object.h"

// Moves 30 path points per second while its window contains the time, and sets the camera
// with gluLookAt on every Update, inside the window or not.
class CameraPath : public SceneObject {
public:
    CameraPath() = default;
    ~CameraPath() override = default;

    // The path to follow; not owned.
    void SetPoints(PathPoints* path);

    // Multiplies the current matrix by the camera's view. The caller selects the model-view
    // matrix and loads the identity first.
    bool Draw() override;
    bool Advance(float step) override;
    bool Update(float time, float step) override;

    // The eye and up vector for the current position; what Draw hands to gluLookAt.
    void GetView(float eye[3], float up[3]) const;

    float pathPosition = 0.0f;
    PathPoints* points = nullptr;
};
