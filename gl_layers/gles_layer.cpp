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
    c.glAlphaFunc = AlphaFunc;
    c.glBegin = Begin;
    c.glBindTexture = BindTexture;
    c.glBitmap = Bitmap;
    c.glBlendFunc = BlendFunc;
    c.glCallList = CallList;
    c.glClear = Clear;
    c.glClearColor = ClearColor;
    c.glColor3f = Color3f;
    c.glColor4f = Color4f;
    c.glColorPointer = ColorPointer;
    c.glCullFace = CullFace;
    c.glDeleteLists = DeleteLists;
    c.glDeleteTextures = DeleteTextures;
    c.glDepthFunc = DepthFunc;
    c.glDepthMask = DepthMask;
    c.glDepthRange = DepthRange;
    c.glDisable = Disable;
    c.glDisableClientState = DisableClientState;
    c.glDrawArrays = DrawArrays;
    c.glDrawBuffer = DrawBuffer;
    c.glDrawElements = DrawElements;
    c.glDrawPixels = DrawPixels;
    c.glEnable = Enable;
    c.glEnableClientState = EnableClientState;
    c.glEnd = End;
    c.glEndList = EndList;
    c.glFinish = Finish;
    c.glFlush = Flush;
    c.glFogf = Fogf;
    c.glFogfv = Fogfv;
    c.glFogi = Fogi;
    c.glFrontFace = FrontFace;
    c.glGenLists = GenLists;
    c.glGenTextures = GenTextures;
    c.glGetDoublev = GetDoublev;
    c.glGetError = GetError;
    c.glGetFloatv = GetFloatv;
    c.glGetIntegerv = GetIntegerv;
    c.glGetString = GetString;
    c.glGetTexLevelParameteriv = GetTexLevelParameteriv;
    c.glGetTexParameteriv = GetTexParameteriv;
    c.glIsEnabled = IsEnabled;
    c.glIsList = IsList;
    c.glIsTexture = IsTexture;
    c.glLightf = Lightf;
    c.glLightfv = Lightfv;
    c.glLoadIdentity = LoadIdentity;
    c.glLoadMatrixf = LoadMatrixf;
    c.glMaterialfv = Materialfv;
    c.glMatrixMode = MatrixMode;
    c.glNewList = NewList;
    c.glNormal3f = Normal3f;
    c.glNormalPointer = NormalPointer;
    c.glOrtho = Ortho;
    c.glPixelStorei = PixelStorei;
    c.glPixelZoom = PixelZoom;
    c.glPopAttrib = PopAttrib;
    c.glPopClientAttrib = PopClientAttrib;
    c.glPopMatrix = PopMatrix;
    c.glPushAttrib = PushAttrib;
    c.glPushClientAttrib = PushClientAttrib;
    c.glPushMatrix = PushMatrix;
    c.glRasterPos2i = RasterPos2i;
    c.glReadBuffer = ReadBuffer;
    c.glReadPixels = ReadPixels;
    c.glRotatef = Rotatef;
    c.glScalef = Scalef;
    c.glScissor = Scissor;
    c.glShadeModel = ShadeModel;
    c.glTexCoord1f = TexCoord1f;
    c.glTexCoord2f = TexCoord2f;
    c.glTexCoordPointer = TexCoordPointer;
    c.glTexEnvfv = TexEnvfv;
    c.glTexEnvi = TexEnvi;
    c.glTexGeni = TexGeni;
    c.glTexImage1D = TexImage1D;
    c.glTexImage2D = TexImage2D;
    c.glTexParameterf = TexParameterf;
    c.glTexParameteri = TexParameteri;
    c.glTexSubImage1D = TexSubImage1D;
    c.glTexSubImage2D = TexSubImage2D;
    c.glTranslatef = Translatef;
    c.glVertex2f = Vertex2f;
    c.glVertex2i = Vertex2i;
    c.glVertex3f = Vertex3f;
    c.glVertexPointer = VertexPointer;
    c.glViewport = Viewport;
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
