// gl_layers/glu_calls.cpp — the GLU calls the program makes, done as GLU does them, through
// the layer: the same matrices in the same precision, and spheres in GLU's own tessellation
// (stacks of quad strips, its normals and texture coordinates) and its box-filtered mipmaps, so
// the pictures agree.
#include "gl_layers/glu_calls.h"

#include <cmath>

#include "gl_layers/immediate.h"
#include "gl_layers/matrix_math.h"
#include "gl_layers/state_calls.h"
#include "gl_layers/textures.h"

namespace gl_layers {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCacheSize = 240;

void MultiplyDouble(const double m[16]) {
    float f[16];
    for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
    MultMatrixf(f);
}

void Normalize(float v[3]) {
    const float r = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (r == 0.0f) return;
    v[0] /= r, v[1] /= r, v[2] /= r;
}

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// One stack of the sphere between rings j and j + 1, as GLU's quad strip.
void SphereStack(const platform::Quadric& q, int j, int slices, int stacks, const float* sin1a, const float* cos1a,
                 const float* sin1b, const float* cos1b, const float* sin2b, const float* cos2b) {
    const bool outside = q.orientation == GLU_OUTSIDE;
    const bool smooth = q.normals == GLU_SMOOTH;
    const float zLow = cos1b[j], zHigh = cos1b[j + 1];
    const float sin1 = sin1b[j], sin2 = sin1b[j + 1];
    const float sin3 = outside ? sin2b[j + 1] : sin2b[j], cos3 = outside ? cos2b[j + 1] : cos2b[j];
    const float sin4 = outside ? sin2b[j] : sin2b[j + 1], cos4 = outside ? cos2b[j] : cos2b[j + 1];
    Begin(GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
        const float s = 1 - static_cast<float>(i) / slices;
        if (smooth) Normal3f(sin1a[i] * sin3, cos1a[i] * sin3, cos3);
        if (q.texture) TexCoord2f(s, 1 - static_cast<float>(outside ? j + 1 : j) / stacks);
        if (outside) Vertex3f(sin2 * sin1a[i], sin2 * cos1a[i], zHigh);
        else Vertex3f(sin1 * sin1a[i], sin1 * cos1a[i], zLow);
        if (smooth) Normal3f(sin1a[i] * sin4, cos1a[i] * sin4, cos4);
        if (q.texture) TexCoord2f(s, 1 - static_cast<float>(outside ? j : j + 1) / stacks);
        if (outside) Vertex3f(sin1 * sin1a[i], sin1 * cos1a[i], zLow);
        else Vertex3f(sin2 * sin1a[i], sin2 * cos1a[i], zHigh);
    }
    End();
}

// An end of an untextured sphere as GLU's triangle fan around its pole.
void SphereCap(const platform::Quadric& q, bool low, int slices, int stacks, const float* sin1a, const float* cos1a,
               const float* sin1b, const float* cos1b, const float* sin2b, const float* cos2b, double radius) {
    const int ring = low ? 1 : stacks - 1;
    const float sin2 = sin1b[ring], zHigh = cos1b[ring];
    const bool smooth = q.normals == GLU_SMOOTH;
    const bool outside = q.orientation == GLU_OUTSIDE;
    if (smooth) {
        const int pole = low ? 0 : stacks;
        Normal3f(sin1a[0] * sin2b[pole], cos1a[0] * sin2b[pole], cos2b[pole]);
    }
    Begin(GL_TRIANGLE_FAN);
    Vertex3f(0.0f, 0.0f, static_cast<float>(low ? radius : -radius));
    const bool downwards = low == outside;
    for (int k = 0; k <= slices; ++k) {
        const int i = downwards ? slices - k : k;
        if (smooth) Normal3f(sin1a[i] * sin2b[ring], cos1a[i] * sin2b[ring], cos2b[ring]);
        Vertex3f(sin2 * sin1a[i], sin2 * cos1a[i], zHigh);
    }
    End();
}

// One level of GLU's box filter: 2 × 2 texels rounded, or 2 × 1 truncated on a row or column.
std::vector<unsigned char> Halve(const std::vector<unsigned char>& in, int width, int height, int components,
                                 int& newWidth, int& newHeight) {
    newWidth = width > 1 ? width / 2 : 1;
    newHeight = height > 1 ? height / 2 : 1;
    std::vector<unsigned char> out(static_cast<std::size_t>(newWidth) * newHeight * components);
    const int row = width * components;
    for (int y = 0; y < newHeight; ++y)
        for (int x = 0; x < newWidth; ++x)
            for (int k = 0; k < components; ++k) {
                unsigned char& o = out[(static_cast<std::size_t>(y) * newWidth + x) * components + k];
                if (width > 1 && height > 1) {
                    const unsigned char* t = &in[static_cast<std::size_t>(2 * y) * row + 2 * x * components + k];
                    o = static_cast<unsigned char>((t[0] + t[components] + t[row] + t[row + components] + 2) / 4);
                } else if (height == 1) {
                    const unsigned char* t = &in[static_cast<std::size_t>(2 * x) * components + k];
                    o = static_cast<unsigned char>((t[0] + t[components]) / 2);
                } else {
                    const unsigned char* t = &in[static_cast<std::size_t>(2 * y) * row + k];
                    o = static_cast<unsigned char>((t[0] + t[row]) / 2);
                }
            }
    return out;
}

}  // namespace

void APIENTRY Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    m[15] = 0;
    MultiplyDouble(m);
}

void APIENTRY LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
                     GLdouble upX, GLdouble upY, GLdouble upZ) {
    float forward[3] = {static_cast<float>(centerX - eyeX), static_cast<float>(centerY - eyeY),
                        static_cast<float>(centerZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    Normalize(forward);
    Cross(forward, up, side);
    Normalize(side);
    Cross(side, forward, up);
    const float m[16] = {side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0,
                         side[2], up[2], -forward[2], 0, 0,       0,     0,           1};
    MultMatrixf(m);
    Translatef(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

GLint APIENTRY UnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj,
                         const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ) {
    double product[16], inverse[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            product[i * 4 + j] = model[i * 4 + 0] * proj[0 * 4 + j] + model[i * 4 + 1] * proj[1 * 4 + j] +
                                 model[i * 4 + 2] * proj[2 * 4 + j] + model[i * 4 + 3] * proj[3 * 4 + j];
    if (!InvertMatrix(product, inverse)) return GL_FALSE;
    double in[4] = {(winX - view[0]) / view[2] * 2 - 1, (winY - view[1]) / view[3] * 2 - 1, winZ * 2 - 1, 1.0};
    double out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = in[0] * inverse[0 * 4 + i] + in[1] * inverse[1 * 4 + i] + in[2] * inverse[2 * 4 + i] +
                 in[3] * inverse[3 * 4 + i];
    if (out[3] == 0.0) return GL_FALSE;
    *objX = out[0] / out[3];
    *objY = out[1] / out[3];
    *objZ = out[2] / out[3];
    return GL_TRUE;
}

void APIENTRY Sphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    const platform::Quadric& q = *platform::QuadricOf(quadric);
    if (slices >= kCacheSize) slices = kCacheSize - 1;
    if (stacks >= kCacheSize) stacks = kCacheSize - 1;
    if (slices < 2 || stacks < 1 || radius < 0.0) return;
    float sin1a[kCacheSize], cos1a[kCacheSize], sin1b[kCacheSize], cos1b[kCacheSize];
    float sin2b[kCacheSize], cos2b[kCacheSize];
    for (int i = 0; i < slices; ++i) {
        const float angle = static_cast<float>(2 * kPi * i / slices);
        sin1a[i] = static_cast<float>(std::sin(angle));
        cos1a[i] = static_cast<float>(std::cos(angle));
    }
    for (int j = 0; j <= stacks; ++j) {
        const float angle = static_cast<float>(kPi * j / stacks);
        const float sign = q.orientation == GLU_OUTSIDE ? 1.0f : -1.0f;
        sin2b[j] = sign * static_cast<float>(std::sin(angle));
        cos2b[j] = sign * static_cast<float>(std::cos(angle));
        sin1b[j] = static_cast<float>(radius * std::sin(angle));
        cos1b[j] = static_cast<float>(radius * std::cos(angle));
    }
    sin1b[0] = 0;
    sin1b[stacks] = 0;
    sin1a[slices] = sin1a[0];
    cos1a[slices] = cos1a[0];
    int start = 0, finish = stacks;
    if (!q.texture) {
        start = 1, finish = stacks - 1;
        SphereCap(q, true, slices, stacks, sin1a, cos1a, sin1b, cos1b, sin2b, cos2b, radius);
        SphereCap(q, false, slices, stacks, sin1a, cos1a, sin1b, cos1b, sin2b, cos2b, radius);
    }
    for (int j = start; j < finish; ++j) SphereStack(q, j, slices, stacks, sin1a, cos1a, sin1b, cos1b, sin2b, cos2b);
}

GLint APIENTRY Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                              GLenum type, const void* data) {
    const int components = FormatComponents(format);
    if (target != GL_TEXTURE_2D || components == 0 || type != GL_UNSIGNED_BYTE || width < 1 || height < 1)
        return GLU_INVALID_ENUM;
    std::vector<unsigned char> level = UnpackPixels(width, height, format, type, data);
    const ClientState kept = state.client;
    state.client.unpackAlignment = 1;
    state.client.unpackRowLength = 0;
    int w = width, h = height;
    for (GLint index = 0;; ++index) {
        TexImage2D(target, index, internalFormat, w, h, 0, format, type, level.data());
        if (w == 1 && h == 1) break;
        int nw = 0, nh = 0;
        level = Halve(level, w, h, components, nw, nh);
        w = nw, h = nh;
    }
    state.client = kept;
    return 0;
}

}  // namespace gl_layers
