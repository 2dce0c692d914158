// Our vertex weighting against a CPU blend of the same vertices, read back in feedback mode.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/extensions.h"
#include "app/settings.h"
#include "platform/window.h"
#include "support/gl_test_context.h"

namespace {

// Column-major 4 × 4 matrices, as GL stores them.
struct Matrix {
    float m[16];
    float operator()(int row, int column) const { return m[column * 4 + row]; }
};

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 4; ++k) out.m[c * 4 + r] += a(r, k) * b(k, c);
    return out;
}

Matrix TurnAboutZ(float degrees) {
    const float a = degrees * 3.14159265f / 180.0f;
    return {{std::cos(a), std::sin(a), 0, 0, -std::sin(a), std::cos(a), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }

void Transform(const Matrix& m, const float v[4], float out[4]) {
    for (int r = 0; r < 4; ++r) out[r] = m(r, 0) * v[0] + m(r, 1) * v[1] + m(r, 2) * v[2] + m(r, 3) * v[3];
}

// The normal through the inverse transpose of the upper 3 × 3 block: n' = adj(A)ᵀ n / det(A).
void TransformNormal(const Matrix& m, const float n[3], float out[3]) {
    float a[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) a[r][c] = m(r, c);
    float cofactor[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            cofactor[r][c] = a[(r + 1) % 3][(c + 1) % 3] * a[(r + 2) % 3][(c + 2) % 3] -
                             a[(r + 1) % 3][(c + 2) % 3] * a[(r + 2) % 3][(c + 1) % 3];
    const float det = a[0][0] * cofactor[0][0] + a[0][1] * cofactor[0][1] + a[0][2] * cofactor[0][2];
    for (int r = 0; r < 3; ++r) out[r] = (cofactor[r][0] * n[0] + cofactor[r][1] * n[1] + cofactor[r][2] * n[2]) / det;
}

struct WeightedVertex {
    float weight;
    float position[3];
    float normal[3];
};

// What the pipeline should give for one vertex: window position and sphere-map coordinates.
struct Expected {
    float window[3];
    float s, t;
};

Expected Blend(const WeightedVertex& v, const Matrix& model0, const Matrix& model1, const Matrix& projection) {
    const float p[4] = {v.position[0], v.position[1], v.position[2], 1};
    float e0[4], e1[4], eye[4], n0[3], n1[3], n[3], clip[4];
    Transform(model0, p, e0);
    Transform(model1, p, e1);
    TransformNormal(model0, v.normal, n0);
    TransformNormal(model1, v.normal, n1);
    for (int i = 0; i < 4; ++i) eye[i] = v.weight * e0[i] + (1 - v.weight) * e1[i];
    for (int i = 0; i < 3; ++i) n[i] = v.weight * n0[i] + (1 - v.weight) * n1[i];
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float& c : n) c /= length;
    Transform(projection, eye, clip);
    Expected out;
    out.window[0] = (clip[0] / clip[3] + 1) * 320.0f;
    out.window[1] = (clip[1] / clip[3] + 1) * 240.0f;
    out.window[2] = (clip[2] / clip[3] + 1) * 0.5f;
    const float eyeLength = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    float u[3], r[3];
    for (int i = 0; i < 3; ++i) u[i] = eye[i] / eyeLength;
    const float nu = n[0] * u[0] + n[1] * u[1] + n[2] * u[2];
    for (int i = 0; i < 3; ++i) r[i] = u[i] - 2 * nu * n[i];
    const float m = 2 * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1) * (r[2] + 1));
    out.s = r[0] / m + 0.5f;
    out.t = r[1] / m + 0.5f;
    return out;
}

Matrix Read(GLenum which) {
    Matrix m;
    glGetFloatv(which, m.m);
    return m;
}

// Weights 0, 1 and between, under a model-view with a non-uniform scale and a matrix 1 that is
// turned and moved: positions, renormalised normals (through the sphere map) and the colour
// come out as the CPU blends them, whether the weights come from a display list or directly.
void ExpectTheCpuBlend() {
    ASSERT_TRUE(settings.useVertexWeighting) << "neither the driver's vertex weighting nor ours is available";
    ASSERT_NE(ext::glVertexWeightfEXT, nullptr);

    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 640.0 / 480.0, 1.0, 100.0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, -2.0f, -30.0f);
    glRotatef(35.0f, 1.0f, 0.5f, 0.2f);
    glScalef(1.5f, 1.0f, 0.8f);
    const Matrix model0 = Read(GL_MODELVIEW_MATRIX);
    const Matrix projection = Read(GL_PROJECTION_MATRIX);
    // Matrix 1 is set as the scene sets it: loaded from matrix 0, then turned (and here moved).
    glMatrixMode(GL_MODELVIEW1_EXT);
    glLoadMatrixf(model0.m);
    glRotatef(50.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(2.0f, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    const Matrix model1 = Multiply(Multiply(model0, TurnAboutZ(50.0f)), Translation(2.0f, 0.0f, 0.0f));

    const std::vector<WeightedVertex> vertices = {
        {1.0f, {-4, -3, 1}, {0, 0, 1}},      {0.0f, {4, -3, 0}, {0.6f, 0, 0.8f}},  {0.35f, {0, 4, -1}, {0, 0.6f, 0.8f}},
        {0.0f, {-6, 2, 2}, {-0.8f, 0, 0.6f}}, {0.7f, {5, 5, 0}, {0.48f, 0.6f, 0.64f}}, {1.0f, {1, -6, 1}, {0, -0.6f, 0.8f}},
    };
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3; ++i) {
        ext::glVertexWeightfEXT(vertices[i].weight);
        glNormal3fv(vertices[i].normal);
        glVertex3fv(vertices[i].position);
    }
    glEnd();
    glEndList();

    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(0.2f, 0.4f, 0.6f, 1.0f);
    glEnable(GL_VERTEX_WEIGHTING_EXT);
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_WEIGHTING_EXT));

    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    glBegin(GL_TRIANGLES);
    for (int i = 3; i < 6; ++i) {
        ext::glVertexWeightfEXT(vertices[i].weight);
        glNormal3fv(vertices[i].normal);
        glVertex3fv(vertices[i].position);
    }
    glEnd();
    const GLint used = glRenderMode(GL_RENDER);
    glDisable(GL_VERTEX_WEIGHTING_EXT);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_WEIGHTING_EXT));
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDeleteLists(list, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Two triangles of three vertices, each x y z, r g b a, s t r q.
    ASSERT_EQ(used, 2 * (2 + 3 * 11));
    for (int triangle = 0; triangle < 2; ++triangle) {
        const GLfloat* record = &buffer[static_cast<std::size_t>(triangle) * 35];
        ASSERT_EQ(record[0], GL_POLYGON_TOKEN);
        ASSERT_EQ(record[1], 3.0f);
        for (int corner = 0; corner < 3; ++corner) {
            const WeightedVertex& v = vertices[static_cast<std::size_t>(triangle * 3 + corner)];
            const Expected e = Blend(v, model0, model1, projection);
            const GLfloat* got = record + 2 + corner * 11;
            const std::string where = "weight " + std::to_string(v.weight) + ", vertex " + std::to_string(corner);
            EXPECT_NEAR(got[0], e.window[0], 0.02f) << where;
            EXPECT_NEAR(got[1], e.window[1], 0.02f) << where;
            EXPECT_NEAR(got[2], e.window[2], 1e-4f) << where;
            EXPECT_NEAR(got[3], 0.2f, 1e-3f) << where;
            EXPECT_NEAR(got[5], 0.6f, 1e-3f) << where;
            EXPECT_NEAR(got[7], e.s, 1e-4f) << where;
            EXPECT_NEAR(got[8], e.t, 1e-4f) << where;
        }
    }
}

}  // namespace

TEST(VertexWeighting, BlendsBothMatricesLikeTheCpu) {
    ASSERT_TRUE(testing_support::OpenGLTestContext());
    ExpectTheCpuBlend();
}

// The window closed and opened again, as after a shutdown: the layer's program belonged to the
// first context, so the second needs one of its own.
TEST(VertexWeighting, BlendsAgainInANewContext) {
    ASSERT_TRUE(testing_support::OpenGLTestContext());
    ASSERT_TRUE(platform::CloseWindow());
    ASSERT_TRUE(testing_support::OpenGLTestContext());
    ExpectTheCpuBlend();
}
