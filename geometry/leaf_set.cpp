// geometry/leaf_set.cpp — leaf quads and their camera-facing corners.
#include "geometry/leaf_set.h"

#include "platform/gl.h"
#include "platform/random.h"

void LeafSet::AddLeaf(const TreePoint& centre) {
    const std::uint16_t base = static_cast<std::uint16_t>(texCoords.size());
    centres.push_back(centre);
    corners.resize(4 * centres.size());
    const float t0 = (platform::Rand() & 1) ? 0.5f : 0.0f;   // the row of the quadrant first,
    const float s0 = (platform::Rand() & 1) ? 0.5f : 0.0f;   // then its column
    texCoords.push_back(TreeTexCoord{s0, t0});
    texCoords.push_back(TreeTexCoord{s0 + 0.5f, t0});
    texCoords.push_back(TreeTexCoord{s0 + 0.5f, t0 + 0.5f});
    texCoords.push_back(TreeTexCoord{s0, t0 + 0.5f});
    for (std::uint16_t k = 0; k < 4; ++k) indices.push_back(static_cast<std::uint16_t>(base + k));
}

// Leaves stay vertical whatever the camera's tilt: only x and z of its right axis count.
void LeafSet::PlaceCorners(float rightX, float rightZ) {
    rightVector.x = 0.33f * rightX;
    rightVector.z = 0.33f * rightZ;
    const TreePoint r = rightVector;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const TreePoint& c = centres[i];
        TreePoint* q = &corners[4 * i];
        q[0] = TreePoint{c.x - r.x, c.y - 0.792f, c.z - r.z};
        q[1] = TreePoint{c.x + r.x, c.y - 0.792f, c.z + r.z};
        q[2] = TreePoint{c.x + r.x, c.y + 0.099f, c.z + r.z};
        q[3] = TreePoint{c.x - r.x, c.y + 0.099f, c.z - r.z};
    }
}

void LeafSet::DrawLeaves() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    PlaceCorners(m[0], m[8]);
    if (centres.empty()) return;
    glVertexPointer(3, GL_FLOAT, 0, corners.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glDrawElements(GL_QUADS, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
}
