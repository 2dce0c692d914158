// scenes/scene_two_cloud.cpp — scene two's cube cloud: every cube as its six quads, or as the
// outline the eye sees of it.
#include <cmath>

#include "app/settings.h"
#include "scenes/cloud_batches.h"
#include "scenes/cube_outline.h"
#include "scenes/scene_two.h"

namespace {

// The camera as the cloud needs it: the eye in the cloud's space and the row of the model-view
// that gives a point's depth.
struct CloudView {
    float eye[3];
    float depthRow[4];

    static CloudView FromModelview() {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        CloudView view{};
        // The camera only turns and moves: the eye is −Rᵀ·t.
        for (int i = 0; i < 3; ++i) view.eye[i] = -(m[4 * i] * m[12] + m[4 * i + 1] * m[13] + m[4 * i + 2] * m[14]);
        for (int i = 0; i < 4; ++i) view.depthRow[i] = -m[4 * i + 2];
        return view;
    }

    float Depth(const CloudPoint& p) const {
        return depthRow[0] * p.x + depthRow[1] * p.y + depthRow[2] * p.z + depthRow[3];
    }
};

// The ball as the eye sees it: the cone of rays that can meet it.
class BallAsSeen {
public:
    BallAsSeen(const float eye[3], float cx, float cy, float cz, float radius) : eye{eye[0], eye[1], eye[2]} {
        // A little wider than the sphere, which the ball's polygons stay inside.
        const float r = radius * 1.01f;
        const float d[3] = {cx - eye[0], cy - eye[1], cz - eye[2]};
        const float distance = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        inside = distance <= r;
        if (inside) return;
        for (int i = 0; i < 3; ++i) axis[i] = d[i] / distance;
        sinHalf = r / distance;
        cosHalf = std::sqrt(1.0f - sinHalf * sinHalf);
    }

    // Whether a ray from the eye can pass through both the ball and the sphere of radius r
    // about p: the angle between the two centres is within the sum of the two half angles.
    bool MayCover(const CloudPoint& p, float r) const {
        if (inside) return true;
        const float w[3] = {p.x - eye[0], p.y - eye[1], p.z - eye[2]};
        const float squared = w[0] * w[0] + w[1] * w[1] + w[2] * w[2];
        if (squared <= r * r) return true;
        // cos θ < cos(α + β), multiplied through by the distance to p.
        const float along = axis[0] * w[0] + axis[1] * w[1] + axis[2] * w[2];
        return along >= cosHalf * std::sqrt(squared - r * r) - sinHalf * r;
    }

private:
    float eye[3];
    float axis[3] = {};
    float sinHalf = 1.0f, cosHalf = 0.0f;
    bool inside = false;
};

// The cube of half edge h at p as the eye sees it: its outline, or, where it reaches the near
// or far plane and is clipped there face by face, its visible faces.
void EmitSeenCube(CloudBatches& batches, const CloudView& view, const CloudPoint& p, float h) {
    const CubeView& seen = CubeViewFrom(EyeRegion(p, h, view.eye));
    if (seen.faceCount == 0) return;
    const float depth = view.Depth(p), reach = 1.75f * h;
    if (depth - reach > SceneTwo::kNearPlane && depth + reach < SceneTwo::kFarPlane) {
        EmitCornerLoop(batches.Reserve(1), p, h, seen.outline);
        return;
    }
    CloudPoint* out = batches.Reserve(seen.faceCount);
    for (int f = 0; f < seen.faceCount; ++f) EmitCornerLoop(out + f * kLoopVertices, p, h, seen.faces[f]);
}

}  // namespace

// The cubes of `set`, pushed away from the ball at (cx, cy, cz).
void SceneTwo::DrawCloud(const PointSet& set, float cx, float cy, float cz) {
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    // All eight corners of a cube carry its colour, so flat shading draws the same picture and
    // spares the renderer interpolating colours across the cloud.
    GLint shadeModel = GL_SMOOTH;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    glShadeModel(GL_FLAT);
    if (!platform::Drawing()) {
        // Lived through unseen: nothing of the cloud outlasts the frame but the state it leaves.
        if (cloudOutlines) glEnable(GL_DEPTH_TEST);
    } else if (cloudOutlines) {
        DrawCloudOutlines(set, cx, cy, cz);
    } else {
        DrawCloudCubes(set, cx, cy, cz);
    }
    glShadeModel(static_cast<GLenum>(shadeModel));
    glDepthMask(GL_TRUE);
}

// Every cube as its six quads; culling drops the three facing away.
void SceneTwo::DrawCloudCubes(const PointSet& set, float cx, float cy, float cz) {
    CloudBatches batches(GL_QUADS, kCubeVertices, kCubeIndices, cubeIndices.get(), vertexBuffer.get(),
                         settings.useVertexArrayRange);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        CloudPoint point = set.points[i];
        RepelFromBall(point, cx, cy, cz);
        EmitCube(batches.Reserve(1), point, set.halfSize);
    }
    batches.Finish();
}

// Every cube as the outline of what the eye sees of it. A cube has one colour and is added to
// the picture, so its visible faces, which tile that outline, add the colour once to each pixel
// inside it: the same picture from a third of the triangles. The depth buffer holds only the
// ball, so the cubes that no ray from the eye meets together with the ball pass the depth test
// everywhere: they are drawn first, without it, and the rest after, with it.
void SceneTwo::DrawCloudOutlines(const PointSet& set, float cx, float cy, float cz) {
    const CloudView view = CloudView::FromModelview();
    const BallAsSeen ball(view.eye, cx, cy, cz, SceneTwo::kBallRadius);
    const float h = set.halfSize;
    nearBall.clear();
    glDisable(GL_DEPTH_TEST);
    CloudBatches apart(GL_TRIANGLES, kLoopVertices, kLoopIndices, loopIndices.get(), vertexBuffer.get(),
                       settings.useVertexArrayRange);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        CloudPoint point = set.points[i];
        RepelFromBall(point, cx, cy, cz);
        if (ball.MayCover(point, 1.75f * h))   // beyond the half diagonal, √3·h
            nearBall.push_back(point);
        else
            EmitSeenCube(apart, view, point, h);
    }
    apart.Finish();
    glEnable(GL_DEPTH_TEST);
    CloudBatches nearOnes(GL_TRIANGLES, kLoopVertices, kLoopIndices, loopIndices.get(), vertexBuffer.get(),
                      settings.useVertexArrayRange);
    for (const CloudPoint& point : nearBall) EmitSeenCube(nearOnes, view, point, h);
    nearOnes.Finish();
}
