// effects/water_surface.h — a 60 × 60 height field simulated as a mesh of springs, drawn as
// one sheet of triangle strips.
#pragma once

// One grid point of the sheet: y is the height the simulation moves.
struct WaterVertex {
    float x, y, z;
    float nx, ny, nz;
};

// The count of pokes shared by every sheet; one copy for the whole run, never reset.
struct WaterDisturbance {
    int count = 0;   // calls of Disturb so far; odd and even calls raise different patches
};
extern WaterDisturbance waterDisturbance;

// The sheet is poked at two fixed patches in turn, relaxes one step per call of Step, and is
// drawn with the normals of the heights before that step.
class WaterSurface {
public:
    static constexpr int kSize = 60;
    static constexpr int kCount = kSize * kSize;

    WaterSurface() = default;
    virtual ~WaterSurface() = default;

    // A flat grid of sizeX × sizeZ centred on the origin, normals up, everything at rest.
    void Init(float sizeX, float sizeZ);
    // One relaxation step: spring forces from the eight neighbours of every interior point.
    void Step();
    // Raises one of the two patches; the program-wide count of calls picks which.
    void Disturb();
    // Recomputes every normal from the current heights.
    void ComputeNormals();
    // Normals, a step, then 59 strips with texture coordinates in steps of 1/24.
    void DrawSurface();
    // DrawSurface in parts: the normals and the step, then strips `first` up to `last`
    // (excluded), each exactly as DrawSurface draws it.
    void PrepareSurface();
    void DrawStrips(int first, int last) const;

    WaterVertex& At(int i, int j) { return vertices[i * kSize + j]; }
    const WaterVertex& At(int i, int j) const { return vertices[i * kSize + j]; }

    WaterVertex vertices[kCount] = {};
    float forces[kCount] = {};
    float velocities[kCount] = {};
};
