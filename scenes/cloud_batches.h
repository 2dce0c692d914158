// scenes/cloud_batches.h — scene two's cube cloud written into batches of vertices and drawn a
// batch at a time: into the four vertex-array-range chunks in turn where the range is on, else
// into one buffer in system memory.
#pragma once

#include <cstdint>

#include "app/extensions.h"
#include "scenes/point_set.h"

// A batch holds up to kUnits units of `unitVertices` vertices each; `indices` covers kUnits
// units and draws them as `mode`.
class CloudBatches {
public:
    static constexpr int kUnits = 800;

    CloudBatches(GLenum mode, int unitVertices, int unitIndices, const std::uint16_t* indices,
                 CloudPoint* systemBuffer, bool useRange);

    // Room for `units` more units (at most kUnits), in this batch or, when it is full, the next.
    CloudPoint* Reserve(int units);
    // Draws what is pending and waits until the range's last batch has been read.
    void Finish();

private:
    void Flush();
    void Begin();

    GLenum mode;
    int unitVertices;
    int unitIndices;
    const std::uint16_t* indices;
    CloudPoint* systemBuffer;
    bool useRange;
    VertexArrayChunk* chunk = nullptr;
    unsigned batch = 0;
    int pending = 0;   // units written into the current batch
    CloudPoint* destination = nullptr;
};
