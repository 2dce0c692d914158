// effects/water_surface.cpp — the spring simulation and drawing of the water sheet.
#include "effects/water_surface.h"

#include <algorithm>
#include <cmath>

#include "platform/gl.h"

namespace {

struct Offset {
    float x, y, z;
};

Offset Between(const WaterVertex& from, const WaterVertex& to) { return {to.x - from.x, to.y - from.y, to.z - from.z}; }

Offset Cross(Offset a, Offset b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Stores `n` scaled to unit length; a degenerate normal (never on this grid) is left as is.
void StoreNormal(WaterVertex& v, Offset n) {
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    const float scale = length > 0.0f ? 1.0f / length : 1.0f;
    v.nx = n.x * scale;
    v.ny = n.y * scale;
    v.nz = n.z * scale;
}

}  // namespace

WaterDisturbance waterDisturbance;

void WaterSurface::Init(float sizeX, float sizeZ) {
    for (int i = 0; i < kSize; ++i)
        for (int j = 0; j < kSize; ++j) {
            WaterVertex& v = At(i, j);
            v.x = sizeX / 59.0f * static_cast<float>(j) - sizeX / 2.0f;
            v.y = 0.0f;
            v.z = sizeZ / 59.0f * static_cast<float>(i) - sizeZ / 2.0f;
            v.nx = 0.0f;
            v.ny = 1.0f;
            v.nz = 0.0f;
            velocities[i * kSize + j] = 0.0f;
        }
}

void WaterSurface::Step() {
    for (float& f : forces) f = 0.0f;
    // The straight neighbours first, then the diagonals, whose springs are longer by √2.
    static const int kNeighbours[8][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (int i = 1; i < kSize - 1; ++i)
        for (int j = 1; j < kSize - 1; ++j) {
            const int centre = i * kSize + j;
            const float y = vertices[centre].y;
            for (int k = 0; k < 8; ++k) {
                const int neighbour = (i + kNeighbours[k][0]) * kSize + (j + kNeighbours[k][1]);
                float d = y - vertices[neighbour].y;
                if (k >= 4) d /= 1.4142135f;
                forces[centre] -= d;
                forces[neighbour] += d;
            }
        }
    for (int n = 0; n < kCount; ++n) velocities[n] += forces[n] * 0.001f;
    for (int n = 0; n < kCount; ++n) vertices[n].y = (vertices[n].y + velocities[n]) * 0.999f;
}

void WaterSurface::Disturb() {
    ++waterDisturbance.count;
    const bool odd = waterDisturbance.count % 2 != 0;
    const int row = odd ? 40 : 20, column = odd ? 54 : 5;
    const float height = odd ? 0.75f : 0.5f;
    for (int i = row; i < row + 2; ++i)
        for (int j = column; j < column + 2; ++j) At(i, j).y = height;
}

void WaterSurface::ComputeNormals() {
    const int last = kSize - 1;
    for (int i = 0; i < kSize; ++i)
        for (int j = 0; j < kSize; ++j) {
            const WaterVertex& p = At(i, j);
            Offset n;
            if (i < last && j < last) {
                n = Cross(Between(p, At(i, j + 1)), Between(p, At(i + 1, j)));
            } else if (i == 0 && j == last) {
                n = Cross(Between(p, At(i, j - 1)), Between(p, At(i + 1, j)));
                n = {-n.x, -n.y, -n.z};
            } else if (i == last && j == 0) {
                n = Cross(Between(p, At(i - 1, j)), Between(p, At(i, j + 1)));
            } else {
                n = Cross(Between(p, At(i, j - 1)), Between(p, At(i - 1, j)));
            }
            StoreNormal(At(i, j), n);
        }
}

void WaterSurface::DrawSurface() {
    PrepareSurface();
    DrawStrips(0, kSize - 1);
}

void WaterSurface::PrepareSurface() {
    ComputeNormals();
    Step();
}

void WaterSurface::DrawStrips(int first, int last) const {
    // Accumulated in single precision, as the sheet's texture has always been laid.
    const float kTexStep = 0.041666668f;
    float t0 = 0.0f;
    for (int i = 0; i < std::min(last, kSize - 1); ++i) {
        const float t1 = t0 + kTexStep;
        if (i >= first) {
            float s = 0.0f;
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < kSize; ++j) {
                const WaterVertex& a = At(i, j);
                const WaterVertex& b = At(i + 1, j);
                glTexCoord2f(s, t0);
                glNormal3f(a.nx, a.ny, a.nz);
                glVertex3f(a.x, a.y, a.z);
                glTexCoord2f(s, t1);
                glNormal3f(b.nx, b.ny, b.nz);
                glVertex3f(b.x, b.y, b.z);
                s += kTexStep;
            }
            glEnd();
        }
        t0 = t1;
    }
}
