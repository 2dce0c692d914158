// scenes/scene_four_split.cpp — scene four's surfaces split at the fog's start: what lies
// nearer is drawn without fog, which leaves it as it is there, the nearer walls get their
// caustics in their own pass, and the rocks that hide their back faces are drawn without them.
#include <cmath>
#include <vector>

#include "geometry/outward_faces.h"
#include "platform/gl.h"
#include "scene/overlay_space.h"
#include "scenes/cave_caustics.h"
#include "scenes/scene_four.h"

namespace {

// Just inside the fog's start: nothing nearer is fogged at all. Fog is taken at the distance
// from the eye or at the depth, which is never more, and between the corners of a triangle it
// is never more than at the farthest corner.
constexpr float kUnfogged = SceneFour::kFogStart * 0.999f;

float EyeDistance(const float m[16], float x, float y, float z) {
    float eye[3];
    for (int row = 0; row < 3; ++row) eye[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    return std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
}

// Splits the drawable triangles of `mesh` (their indices) by whether every corner lies nearer
// than `distance` to the eye under `view`.
void SplitByEyeDistance(const Mesh& mesh, const float view[16], float distance, std::vector<int>& nearer,
                        std::vector<int>& further) {
    for (int t = 0; t < mesh.triangleCount; ++t) {
        if (!mesh.IsDrawable(t)) continue;
        bool wholeNear = true;
        for (int k = 0; k < 3 && wholeNear; ++k) {
            const MeshVertex& v = mesh.vertices[mesh.indices[3 * t + k]];
            wholeNear = EyeDistance(view, v.x, v.y, v.z) < distance;
        }
        (wholeNear ? nearer : further).push_back(t);
    }
}

// Moves from `triangles` to `culled` those that face out counter-clockwise.
void TakeOutward(const std::vector<FaceOut>& out, std::vector<int>& triangles, std::vector<int>& culled) {
    std::vector<int> rest;
    for (int t : triangles) (out[static_cast<std::size_t>(t)] == kOutCounterClockwise ? culled : rest).push_back(t);
    triangles.swap(rest);
}

GLuint CompileList(const Mesh* meshes[], const std::vector<int>* triangles, int count, bool forStages) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (int k = 0; k < count; ++k) EmitTriangles(*meshes[k], triangles[k], forStages);
    glEndList();
    return list;
}

}  // namespace

void LoadCaveView() {
    glLoadIdentity();
    glTranslatef(0.0f, -2.75f, -6.0f);
    glRotatef(5.0f, 1.0f, 0.0f, 0.0f);
}

void SceneFour::SplitAtFogStart() {
    GLfloat view[16];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    LoadCaveView();
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glTranslatef(0.0f, -0.5f, -15.74f);
    GLfloat floor[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, floor);
    glPopMatrix();

    wallStages = CausticWallStagesAvailable();
    std::vector<int> nearer[3], further[3];
    for (int k = 0; k < 3; ++k) SplitByEyeDistance(caveMeshes[k], view, kUnfogged, nearer[k], further[k]);
    const Mesh* walls[1] = {&caveMeshes[0]};
    const Mesh* rocks[2] = {&caveMeshes[1], &caveMeshes[2]};
    nearerWallList = CompileList(walls, &nearer[0], 1, wallStages);
    furtherWallList = CompileList(walls, &further[0], 1, false);
    std::vector<int> nearerFront[2], furtherFront[2];
    for (int k = 1; k < 3; ++k) {
        const std::vector<FaceOut> out = FindOutwardFaces(caveMeshes[k], view, static_cast<float>(kPerspectiveNear));
        TakeOutward(out, nearer[k], nearerFront[k - 1]);
        TakeOutward(out, further[k], furtherFront[k - 1]);
    }
    nearerRockList = CompileList(rocks, &nearer[1], 2, false);
    furtherRockList = CompileList(rocks, &further[1], 2, false);
    nearerFrontRockList = CompileList(rocks, nearerFront, 2, false);
    furtherFrontRockList = CompileList(rocks, furtherFront, 2, false);

    // The floor's rows grow nearer with r; from the first row wholly nearer on, all are.
    firstNearerFloorRow = 16;
    for (int r = 15; r >= 0; --r) {
        bool nearer = true;
        const float z0 = -40.0f + 5.0f * static_cast<float>(r);
        for (int c = 0; c <= 16 && nearer; ++c) {
            const float x = -20.0f + 2.5f * static_cast<float>(c);
            nearer = EyeDistance(floor, x, 0.0f, z0) < kUnfogged && EyeDistance(floor, x, 0.0f, z0 + 5.0f) < kUnfogged;
        }
        if (!nearer) break;
        firstNearerFloorRow = r;
    }
}

// The cave pass: split, the nearer walls (with the stages where the context has them) and
// rocks without fog, then the further ones with it; else the three meshes' own lists.
void SceneFour::DrawCaveLists(bool split) {
    if (!split) {
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        for (GLuint list : caveLists) glCallList(list);
        return;
    }
    glDisable(GL_FOG);
    if (wallStages) {
        BeginCausticWalls(textures[2], textures[0], kCausticColour);
        glCallList(nearerWallList);
        EndCausticWalls();
        glBindTexture(GL_TEXTURE_2D, textures[0]);
    } else {
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glCallList(nearerWallList);
    }
    glCallList(nearerRockList);
    DrawFrontFaces(nearerFrontRockList);
    glEnable(GL_FOG);
    glCallList(furtherWallList);
    glCallList(furtherRockList);
    DrawFrontFaces(furtherFrontRockList);
}

// Rocks whose back faces lie behind their own front faces.
void SceneFour::DrawFrontFaces(GLuint list) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glCallList(list);
    glDisable(GL_CULL_FACE);
}

// The first strip from which every later strip of the sheet, as it is now, lies nearer than
// the fog's start, under the current model-view.
int SceneFour::FirstNearerWaterStrip() const {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const int last = WaterSurface::kSize - 1;
    int first = last;
    bool nextRowNearer = true;   // row first + 1 of the strip below
    for (int i = last; i >= 0 && nextRowNearer; --i) {
        bool rowNearer = true;
        for (int j = 0; j < WaterSurface::kSize && rowNearer; ++j) {
            const WaterVertex& v = water.At(i, j);
            rowNearer = EyeDistance(m, v.x, v.y, v.z) < kUnfogged;
        }
        if (rowNearer && i < last) first = i;   // strip i joins rows i and i + 1
        nextRowNearer = rowNearer;
    }
    return first;
}

// Whether every particle's quad lies nearer than the fog's start, under the current model-view.
bool SceneFour::ParticlesNearerThanFog() const {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    constexpr float kLargestCorner = 0.175f * 1.5f;   // half a quad's diagonal, and more
    for (int k = 0; k < emitter.n; ++k) {
        const Particle& p = emitter.particles[k];
        if (p.active && !(EyeDistance(m, p.x, p.y, p.z) + kLargestCorner < kUnfogged)) return false;
    }
    return true;
}

// A 40 × 80 sandy plane in 16 × 16 cells, its texture repeating 3 times across and 6 along;
// split, its rows nearer than the fog's start are drawn without it.
void SceneFour::DrawFloor(bool split) {
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glPushMatrix();
    glTranslatef(0.0f, -0.5f, -15.74f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int r = 0; r < 16; ++r) {
        if (split && r == firstNearerFloorRow) glDisable(GL_FOG);
        const float z0 = -40.0f + 5.0f * static_cast<float>(r), z1 = z0 + 5.0f;
        const float t0 = 0.375f * static_cast<float>(r), t1 = t0 + 0.375f;
        glBegin(GL_TRIANGLE_STRIP);
        for (int c = 0; c <= 16; ++c) {
            const float s = 0.1875f * static_cast<float>(c), x = -20.0f + 2.5f * static_cast<float>(c);
            glTexCoord2f(s, t0);
            glVertex3f(x, 0.0f, z0);
            glTexCoord2f(s, t1);
            glVertex3f(x, 0.0f, z1);
        }
        glEnd();
    }
    if (split) glEnable(GL_FOG);
    glPopMatrix();
}
