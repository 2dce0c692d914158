// gl_layers/gles_layer.cpp — installing the layer: its entry points in the GL table, its
// answers to GetGLProcAddress, the window's stand-in, and the release with the context.
#include "gl_layers/gles_layer.h"

#include <cstring>

#include "gl_layers/client_arrays.h"
#include "gl_layers/display_lists.h"
#include "gl_layers/draw.h"
#include "gl_layers/framebuffers.h"
#include "gl_layers/gles_calls.h"
#include "gl_layers/glu_calls.h"
#include "gl_layers/immediate.h"
#include "gl_layers/pixels.h"
#include "gl_layers/program_cache.h"
#include "gl_layers/queries.h"
#include "gl_layers/state_calls.h"
#include "gl_layers/textures.h"
#include "platform/window.h"

namespace gl_layers {

namespace {

bool installed = false;

// A function of the layer by its GL name.
struct Named {
    const char* name;
    void* function;
};

template <typename Function>
Named Entry(const char* name, Function function) {
    return Named{name, reinterpret_cast<void*>(function)};
}

void* Lookup(const char* name) {
    static const Named kEntries[] = {
        Entry("glActiveTexture", ActiveTexture),
        Entry("glActiveTextureARB", ActiveTexture),
        Entry("glClientActiveTexture", ClientActiveTexture),
        Entry("glClientActiveTextureARB", ClientActiveTexture),
        Entry("glMultiTexCoord1fARB", MultiTexCoord1f),
        Entry("glMultiTexCoord2fARB", MultiTexCoord2f),
        Entry("glMultiTexCoord3fARB", MultiTexCoord3f),
        Entry("glMultiTexCoord4fARB", MultiTexCoord4f),
        Entry("glMultiTexCoord1f", MultiTexCoord1f),
        Entry("glMultiTexCoord2f", MultiTexCoord2f),
        Entry("glMultiTexCoord3f", MultiTexCoord3f),
        Entry("glMultiTexCoord4f", MultiTexCoord4f),
        Entry("glVertexWeightfEXT", Weightf),
        Entry("glVertexWeightPointerEXT", WeightPointer),
        Entry("glLockArraysEXT", LockArrays),
        Entry("glUnlockArraysEXT", UnlockArrays),
        Entry("glDrawRangeElements", DrawRangeElements),
        Entry("glGenFramebuffers", GenFramebuffers),
        Entry("glDeleteFramebuffers", DeleteFramebuffers),
        Entry("glBindFramebuffer", BindFramebuffer),
        Entry("glCheckFramebufferStatus", CheckFramebufferStatus),
        Entry("glFramebufferRenderbuffer", FramebufferRenderbuffer),
        Entry("glGenRenderbuffers", GenRenderbuffers),
        Entry("glDeleteRenderbuffers", DeleteRenderbuffers),
        Entry("glBindRenderbuffer", BindRenderbuffer),
        Entry("glRenderbufferStorage", RenderbufferStorage),
        Entry("glRenderbufferStorageMultisample", RenderbufferStorageMultisample),
        Entry("glBlitFramebuffer", BlitFramebuffer),
    };
    for (const Named& entry : kEntries)
        if (std::strcmp(entry.name, name) == 0) return entry.function;
    return nullptr;
}

void Present(int drawableWidth, int drawableHeight) { PresentWindow(drawableWidth, drawableHeight); }

void Release() {
    ReleaseLists();
    ReleasePrograms();
    ReleasePixelPass();
    ReleaseFramebuffers();
    ReleaseDrawObjects();
    ReleaseTextures();
    state = FixedState();
    installed = false;
}

platform::GLCalls LayerCalls() {
    platform::GLCalls c;
    // Every GL entry point glName is the layer's Name.
#define LAYER_CALL(name) c.gl##name = name;
    LAYER_CALL(AlphaFunc) LAYER_CALL(Begin) LAYER_CALL(BindTexture) LAYER_CALL(Bitmap) LAYER_CALL(BlendFunc)
    LAYER_CALL(CallList) LAYER_CALL(Clear) LAYER_CALL(ClearColor) LAYER_CALL(Color3f) LAYER_CALL(Color4f)
    LAYER_CALL(ColorPointer) LAYER_CALL(CullFace) LAYER_CALL(DeleteLists) LAYER_CALL(DeleteTextures)
    LAYER_CALL(DepthFunc) LAYER_CALL(DepthMask) LAYER_CALL(DepthRange) LAYER_CALL(Disable)
    LAYER_CALL(DisableClientState) LAYER_CALL(DrawArrays) LAYER_CALL(DrawBuffer) LAYER_CALL(DrawElements)
    LAYER_CALL(DrawPixels) LAYER_CALL(Enable) LAYER_CALL(EnableClientState) LAYER_CALL(End) LAYER_CALL(EndList)
    LAYER_CALL(Finish) LAYER_CALL(Flush) LAYER_CALL(Fogf) LAYER_CALL(Fogfv) LAYER_CALL(Fogi) LAYER_CALL(FrontFace)
    LAYER_CALL(GenLists) LAYER_CALL(GenTextures) LAYER_CALL(GetDoublev) LAYER_CALL(GetError) LAYER_CALL(GetFloatv)
    LAYER_CALL(GetIntegerv) LAYER_CALL(GetString) LAYER_CALL(GetTexLevelParameteriv) LAYER_CALL(GetTexParameteriv)
    LAYER_CALL(IsEnabled) LAYER_CALL(IsList) LAYER_CALL(IsTexture) LAYER_CALL(Lightf) LAYER_CALL(Lightfv)
    LAYER_CALL(LoadIdentity) LAYER_CALL(LoadMatrixf) LAYER_CALL(Materialfv) LAYER_CALL(MatrixMode) LAYER_CALL(NewList)
    LAYER_CALL(Normal3f) LAYER_CALL(NormalPointer) LAYER_CALL(Ortho) LAYER_CALL(PixelStorei) LAYER_CALL(PixelZoom)
    LAYER_CALL(PopAttrib) LAYER_CALL(PopClientAttrib) LAYER_CALL(PopMatrix) LAYER_CALL(PushAttrib)
    LAYER_CALL(PushClientAttrib) LAYER_CALL(PushMatrix) LAYER_CALL(RasterPos2i) LAYER_CALL(ReadBuffer)
    LAYER_CALL(ReadPixels) LAYER_CALL(Rotatef) LAYER_CALL(Scalef) LAYER_CALL(Scissor) LAYER_CALL(ShadeModel)
    LAYER_CALL(TexCoord1f) LAYER_CALL(TexCoord2f) LAYER_CALL(TexCoordPointer) LAYER_CALL(TexEnvfv) LAYER_CALL(TexEnvi)
    LAYER_CALL(TexGeni) LAYER_CALL(TexImage1D) LAYER_CALL(TexImage2D) LAYER_CALL(TexParameterf)
    LAYER_CALL(TexParameteri) LAYER_CALL(TexSubImage1D) LAYER_CALL(TexSubImage2D) LAYER_CALL(Translatef)
    LAYER_CALL(Vertex2f) LAYER_CALL(Vertex2i) LAYER_CALL(Vertex3f) LAYER_CALL(VertexPointer) LAYER_CALL(Viewport)
#undef LAYER_CALL
    c.gluBuild2DMipmaps = Build2DMipmaps;
    c.gluLookAt = LookAt;
    c.gluPerspective = Perspective;
    c.gluSphere = Sphere;
    c.gluUnProject = UnProject;
    // The quadrics are the program's own records on every path (platform/gl.h).
    c.gluNewQuadric = platform::glCalls.gluNewQuadric;
    c.gluQuadricNormals = platform::glCalls.gluQuadricNormals;
    c.gluQuadricOrientation = platform::glCalls.gluQuadricOrientation;
    c.gluQuadricTexture = platform::glCalls.gluQuadricTexture;
    c.lookup = Lookup;
    c.present = Present;
    c.release = Release;
    return c;
}

}  // namespace

bool InstallGlesLayer(std::string& error) {
    std::string missing;
    if (!LoadEsCalls(platform::GetDriverGLProcAddress, missing)) {
        error = "the OpenGL ES driver has no " + missing;
        return false;
    }
    const char* version = reinterpret_cast<const char*>(es.GetString(GL_VERSION));
    if (!version || std::strncmp(version, "OpenGL ES 3", 11) != 0) {
        error = std::string("the context is not OpenGL ES 3 (") + (version ? version : "no version") + ")";
        return false;
    }
    ChooseFinish(version);
    state = FixedState();
    GLint viewport[4] = {};
    es.GetIntegerv(GL_VIEWPORT, viewport);
    std::memcpy(state.server.viewport, viewport, sizeof viewport);
    std::memcpy(state.server.scissor, viewport, sizeof viewport);
    MakeDrawObjects();
    if (!MakeWindowFramebuffer(viewport[2], viewport[3])) {
        error = "the OpenGL ES driver cannot make a framebuffer with a depth texture";
        ReleaseDrawObjects();
        return false;
    }
    platform::glCalls = LayerCalls();
    installed = true;
    return true;
}

bool GlesLayerInstalled() { return installed; }

int GlesProgramsCompiled() { return ProgramsCompiled(); }

}  // namespace gl_layers
