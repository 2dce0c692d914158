// geometry/tree.cpp — growing the tree and drawing it.
//
// The child transforms are formed on the CPU with the same single-precision operations, in
// the same order, as the GL matrix stack uses for glTranslatef, glRotatef and glScalef, so the
// tree does not depend on the driver and is identical on every machine.
#include "geometry/tree.h"

#include <algorithm>
#include <cmath>

#include "platform/gl.h"
#include "platform/random.h"

namespace {

constexpr int kMaxRing = 128;

// Element (row, column) of a column-major 4 × 4 matrix.
float& At(float m[16], int row, int column) { return m[column * 4 + row]; }
float At(const float m[16], int row, int column) { return m[column * 4 + row]; }

// m ← m · b, the general product of the matrix stack.
void MultiplyInPlace(float m[16], const float b[16]) {
    float product[16];
    for (int i = 0; i < 4; ++i) {
        const float ai0 = At(m, i, 0), ai1 = At(m, i, 1), ai2 = At(m, i, 2), ai3 = At(m, i, 3);
        for (int j = 0; j < 4; ++j)
            At(product, i, j) = ai0 * At(b, 0, j) + ai1 * At(b, 1, j) + ai2 * At(b, 2, j) + ai3 * At(b, 3, j);
    }
    std::copy(product, product + 16, m);
}

void Translate(float m[16], float x, float y, float z) {
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
}

void Scale(float m[16], float s) {
    for (int i = 0; i < 12; ++i) m[i] *= s;
}

// Rotation by `degrees` about the x axis (aboutX) or the y axis. As on the matrix stack, the
// angle is turned into radians in double precision, rounded to float, and its sine and cosine
// are taken in single precision.
void Rotate(float m[16], float degrees, bool aboutX) {
    const float radians = static_cast<float>(static_cast<double>(degrees) * 3.14159265358979323846 / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    float r[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (aboutX) {
        At(r, 1, 1) = c;
        At(r, 2, 2) = c;
        At(r, 1, 2) = -s;
        At(r, 2, 1) = s;
    } else {
        At(r, 0, 0) = c;
        At(r, 2, 2) = c;
        At(r, 0, 2) = s;
        At(r, 2, 0) = -s;
    }
    MultiplyInPlace(m, r);
}

// One ring of a segment at height h of its own frame; returns the vertex indices in `ring`.
float AddRing(BranchMesh& mesh, const float m[16], int n, float h, float t, std::uint16_t ring[kMaxRing]) {
    const float step = 6.28f / static_cast<float>(n - 1);   // 6.28: the last vertex lies on the first
    for (int i = 0; i < n; ++i) {
        const float a = step * static_cast<float>(i);
        const float px = 0.15f * static_cast<float>(std::sin(static_cast<double>(a)));
        const float pz = 0.15f * static_cast<float>(std::cos(static_cast<double>(a)));
        const TreePoint position{m[0] * px + m[4] * h + m[8] * pz + m[12], m[1] * px + m[5] * h + m[9] * pz + m[13],
                                 m[2] * px + m[6] * h + m[10] * pz + m[14]};
        const TreePoint normal{m[0] * px + m[8] * pz, m[1] * px + m[9] * pz, m[2] * px + m[10] * pz};
        ring[i] = mesh.AddVertex(position, normal, TreeTexCoord{static_cast<float>(i) / static_cast<float>(n), t});
    }
    return t;
}

}  // namespace

Tree::Tree(int maxDepth, int sides)
    : maxDepth(maxDepth),
      sides(std::max(2, std::min(sides, kMaxRing))),
      trunk(new BranchMesh(this->sides)),
      leaves(new LeafSet) {}

Tree::~Tree() = default;

void ChildTransform(const float m[16], float angleX, float scale, float out[16]) {
    std::copy(m, m + 16, out);
    Translate(out, 0.0f, 1.0f, 0.0f);
    Rotate(out, angleX, true);
    Rotate(out, 45.0f, false);
    Scale(out, scale);
}

void GrowBranch(Tree& tree, const float transform[16], int level, const std::uint16_t* parentTop, float t) {
    if (level > tree.maxDepth) {
        tree.leaves->AddLeaf(TreePoint{transform[12], transform[13], transform[14]});
        return;
    }
    BranchMesh& mesh = *tree.trunk;
    const int n = tree.sides;
    std::uint16_t bottom[kMaxRing], top[kMaxRing];

    t += 0.3f;
    AddRing(mesh, transform, n, level == 0 ? 0.0f : 0.15f, t, bottom);
    if (parentTop) {
        for (int i = 0; i < n; ++i) {
            mesh.AddIndex(parentTop[i]);
            mesh.AddIndex(bottom[i]);
        }
    }
    t += 0.85f;
    AddRing(mesh, transform, n, 0.85f, t, top);
    for (int i = 0; i < n; ++i) {
        mesh.AddIndex(bottom[i]);
        mesh.AddIndex(top[i]);
    }

    float child[16];
    const int a = platform::Rand() % 45 + 15;
    ChildTransform(transform, static_cast<float>(a), 0.7f, child);
    GrowBranch(tree, child, level + 1, top, t);

    const int b = platform::Rand() % 30;
    ChildTransform(transform, static_cast<float>(-b), 0.85f, child);
    GrowBranch(tree, child, level + 1, top, t);
}

void Tree::DrawTree() {
    glBindTexture(GL_TEXTURE_2D, barkTexture);
    glFrontFace(GL_CW);
    trunk->DrawBranches();

    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glBindTexture(GL_TEXTURE_2D, leafTexture);
    glDisable(GL_CULL_FACE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);   // left off: the owner turns lighting back on when it needs it
    leaves->DrawLeaves();

    glEnableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_ALPHA_TEST);
}
