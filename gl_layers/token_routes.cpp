// gl_layers/token_routes.cpp — the router in front of the enable, matrix and client-state calls.
#include "gl_layers/token_routes.h"

#include "gl_layers/vertex_array_range.h"
#include "gl_layers/vertex_weighting.h"

namespace gl_layers {

namespace {

// What the table held before the router went in front of it.
struct NextCalls {
    void(APIENTRY* enable)(GLenum) = nullptr;
    void(APIENTRY* disable)(GLenum) = nullptr;
    GLboolean(APIENTRY* isEnabled)(GLenum) = nullptr;
    void(APIENTRY* matrixMode)(GLenum) = nullptr;
    void(APIENTRY* enableClientState)(GLenum) = nullptr;
    void(APIENTRY* disableClientState)(GLenum) = nullptr;
};

NextCalls next;

bool Weighting() { return VertexWeightingInstalled(); }

void APIENTRY RoutedEnable(GLenum cap) {
    if (cap == GL_VERTEX_WEIGHTING_EXT && Weighting()) return SetVertexWeighting(true);
    next.enable(cap);
}

void APIENTRY RoutedDisable(GLenum cap) {
    if (cap == GL_VERTEX_WEIGHTING_EXT && Weighting()) return SetVertexWeighting(false);
    next.disable(cap);
}

GLboolean APIENTRY RoutedIsEnabled(GLenum cap) {
    if (cap == GL_VERTEX_WEIGHTING_EXT && Weighting()) return VertexWeightingOn() ? GL_TRUE : GL_FALSE;
    return next.isEnabled(cap);
}

void APIENTRY RoutedMatrixMode(GLenum mode) {
    if (mode == GL_MODELVIEW1_EXT && Weighting()) return SelectWeightMatrix();
    next.matrixMode(mode);
}

void APIENTRY RoutedEnableClientState(GLenum array) {
    if (array == GL_VERTEX_WEIGHT_ARRAY_EXT && Weighting()) return SetWeightArray(true);
    if (array == GL_VERTEX_ARRAY_RANGE_NV && VertexArrayRangeInstalled()) return;
    next.enableClientState(array);
}

void APIENTRY RoutedDisableClientState(GLenum array) {
    if (array == GL_VERTEX_WEIGHT_ARRAY_EXT && Weighting()) return SetWeightArray(false);
    if (array == GL_VERTEX_ARRAY_RANGE_NV && VertexArrayRangeInstalled()) return;
    next.disableClientState(array);
}

template <typename Entry>
void PutInFront(Entry& entry, Entry routed, Entry& saved) {
    if (entry == routed) return;
    saved = entry;
    entry = routed;
}

}  // namespace

void RouteExtensionTokens() {
    platform::GLCalls& calls = platform::glCalls;
    PutInFront(calls.glEnable, RoutedEnable, next.enable);
    PutInFront(calls.glDisable, RoutedDisable, next.disable);
    PutInFront(calls.glIsEnabled, RoutedIsEnabled, next.isEnabled);
    PutInFront(calls.glMatrixMode, RoutedMatrixMode, next.matrixMode);
    PutInFront(calls.glEnableClientState, RoutedEnableClientState, next.enableClientState);
    PutInFront(calls.glDisableClientState, RoutedDisableClientState, next.disableClientState);
}

}  // namespace gl_layers
