// scenes/cloud_batches.cpp — batches of cloud vertices, drawn as they fill.
#include "scenes/cloud_batches.h"

namespace {

void PointArraysAt(const CloudPoint* points) {
    glVertexPointer(3, GL_FLOAT, sizeof(CloudPoint), &points->x);
    glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(CloudPoint), &points->r);
}

}  // namespace

CloudBatches::CloudBatches(GLenum mode, int unitVertices, int unitIndices, const std::uint16_t* indices,
                           CloudPoint* systemBuffer, bool useRange)
    : mode(mode), unitVertices(unitVertices), unitIndices(unitIndices), indices(indices),
      systemBuffer(systemBuffer), useRange(useRange) {
    if (!useRange) PointArraysAt(systemBuffer);
}

CloudPoint* CloudBatches::Reserve(int units) {
    if (!destination || pending + units > kUnits) {
        Flush();
        Begin();
    }
    CloudPoint* room = destination + pending * unitVertices;
    pending += units;
    return room;
}

void CloudBatches::Finish() {
    Flush();
    if (useRange && chunk) ext::glFinishFenceNV(chunk->fence);
}

void CloudBatches::Flush() {
    if (pending == 0) return;
    // The batch uses vertices 0 .. pending·unitVertices − 1; naming the range spares the driver
    // a scan of the indices for it.
    const GLuint lastVertex = static_cast<GLuint>(pending * unitVertices - 1);
    if (!platform::Drawing()) {
        // lived through unseen: nothing to draw
    } else if (ext::glDrawRangeElements) {
        ext::glDrawRangeElements(mode, 0, lastVertex, pending * unitIndices, GL_UNSIGNED_SHORT, indices);
    } else {
        glDrawElements(mode, pending * unitIndices, GL_UNSIGNED_SHORT, indices);
    }
    if (useRange)
        ext::glSetFenceNV(chunk->fence, GL_ALL_COMPLETED_NV);
    else if (platform::Drawing())
        glFlush();   // a batch per flush keeps a software renderer's work queue short
    pending = 0;
}

void CloudBatches::Begin() {
    pending = 0;
    if (!useRange) {
        destination = systemBuffer;
        return;
    }
    // Four chunks in turn: the processor fills one while the card reads the others.
    chunk = &vertexArrayChunks[batch % 4];
    PointArraysAt(reinterpret_cast<const CloudPoint*>(chunk->memory));
    if (batch >= 4 && !ext::glTestFenceNV(chunk->fence)) ext::glFinishFenceNV(chunk->fence);
    ++batch;
    destination = reinterpret_cast<CloudPoint*>(chunk->memory);
}
