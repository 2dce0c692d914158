// gl_layers/matrix_math.cpp — the matrix stack's arithmetic.
#include "gl_layers/matrix_math.h"

#include <cmath>
#include <cstring>

namespace gl_layers {

namespace {

float& At(float m[16], int row, int column) { return m[column * 4 + row]; }
float At(const float m[16], int row, int column) { return m[column * 4 + row]; }

}  // namespace

void MatrixProduct(const float a[16], const float b[16], float out[16]) {
    float product[16];
    for (int i = 0; i < 4; ++i) {
        const float ai0 = At(a, i, 0), ai1 = At(a, i, 1), ai2 = At(a, i, 2), ai3 = At(a, i, 3);
        for (int j = 0; j < 4; ++j)
            At(product, i, j) = ai0 * At(b, 0, j) + ai1 * At(b, 1, j) + ai2 * At(b, 2, j) + ai3 * At(b, 3, j);
    }
    std::memcpy(out, product, sizeof product);
}

void MultiplyMatrix(Matrix& m, const float b[16]) {
    MatrixProduct(m.m, b, m.m);
    m.identity = false;
}

void TranslateMatrix(Matrix& matrix, float x, float y, float z) {
    float* m = matrix.m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
    matrix.identity = false;
}

void ScaleMatrix(Matrix& matrix, float x, float y, float z) {
    float* m = matrix.m;
    m[0] *= x, m[4] *= y, m[8] *= z;
    m[1] *= x, m[5] *= y, m[9] *= z;
    m[2] *= x, m[6] *= y, m[10] *= z;
    m[3] *= x, m[7] *= y, m[11] *= z;
    matrix.identity = false;
}

// The axis-aligned turns take the short way, as the driver does; the sine and cosine come from
// the angle in radians rounded to float.
void RotateMatrix(Matrix& matrix, float degrees, float x, float y, float z) {
    const float radians = static_cast<float>(static_cast<double>(degrees) * 3.14159265358979323846 / 180.0);
    const float s = std::sin(radians), c = std::cos(radians);
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool done = false;
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        At(m, 0, 0) = c, At(m, 1, 1) = c;
        At(m, 0, 1) = z < 0.0f ? s : -s;
        At(m, 1, 0) = z < 0.0f ? -s : s;
        done = true;
    } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
        At(m, 0, 0) = c, At(m, 2, 2) = c;
        At(m, 0, 2) = y < 0.0f ? -s : s;
        At(m, 2, 0) = y < 0.0f ? s : -s;
        done = true;
    } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
        At(m, 1, 1) = c, At(m, 2, 2) = c;
        At(m, 1, 2) = x < 0.0f ? s : -s;
        At(m, 2, 1) = x < 0.0f ? -s : s;
        done = true;
    }
    if (!done) {
        const float mag = std::sqrt(x * x + y * y + z * z);
        if (mag <= 1.0e-4f) return;
        x /= mag, y /= mag, z /= mag;
        const float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
        const float xs = x * s, ys = y * s, zs = z * s, oneC = 1.0f - c;
        At(m, 0, 0) = (oneC * xx) + c, At(m, 0, 1) = (oneC * xy) - zs, At(m, 0, 2) = (oneC * zx) + ys;
        At(m, 1, 0) = (oneC * xy) + zs, At(m, 1, 1) = (oneC * yy) + c, At(m, 1, 2) = (oneC * yz) - xs;
        At(m, 2, 0) = (oneC * zx) - ys, At(m, 2, 1) = (oneC * yz) + xs, At(m, 2, 2) = (oneC * zz) + c;
    }
    MultiplyMatrix(matrix, m);
}

void OrthoMatrix(Matrix& matrix, float left, float right, float bottom, float top, float nearValue, float farValue) {
    float m[16] = {};
    At(m, 0, 0) = 2.0f / (right - left);
    At(m, 0, 3) = -(right + left) / (right - left);
    At(m, 1, 1) = 2.0f / (top - bottom);
    At(m, 1, 3) = -(top + bottom) / (top - bottom);
    At(m, 2, 2) = -2.0f / (farValue - nearValue);
    At(m, 2, 3) = -(farValue + nearValue) / (farValue - nearValue);
    At(m, 3, 3) = 1.0f;
    MultiplyMatrix(matrix, m);
}

void TransformPoint(const float m[16], const float v[4], float r[4]) {
    float out[4];
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    std::memcpy(r, out, sizeof out);
}

bool NormalMatrix(const float m[16], float out[9]) {
    float a[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) a[r][c] = At(m, r, c);
    float cof[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            cof[r][c] = a[(r + 1) % 3][(c + 1) % 3] * a[(r + 2) % 3][(c + 2) % 3] -
                        a[(r + 1) % 3][(c + 2) % 3] * a[(r + 2) % 3][(c + 1) % 3];
    const float det = a[0][0] * cof[0][0] + a[0][1] * cof[0][1] + a[0][2] * cof[0][2];
    if (det == 0.0f) return false;
    const float inverse = 1.0f / det;
    // (A⁻¹)ᵀ = cof / det; column-major for the shader: element (r, c) at c * 3 + r.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) out[c * 3 + r] = cof[r][c] * inverse;
    return true;
}

bool InvertMatrix(const double m[16], double out[16]) {
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
             m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
             m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
             m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
              m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
             m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
             m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
             m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
              m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
             m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
              m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
              m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
             m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0.0) return false;
    for (int i = 0; i < 16; ++i) out[i] = inv[i] / det;
    return true;
}

}  // namespace gl_layers
