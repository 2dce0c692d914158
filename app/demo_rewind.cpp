// app/demo_rewind.cpp — a new run in the same process: for --loop and the player's seeks.
#include "app/demo_rewind.h"

#include <new>

#include "app/extensions.h"
#include "app/globals.h"
#include "app/shell.h"
#include "effects/caustics.h"
#include "effects/cloud_layers.h"
#include "effects/lens_flare.h"
#include "effects/particle_emitter.h"
#include "effects/water_surface.h"
#include "platform/gl.h"
#include "platform/random.h"
#include "platform/window.h"

namespace {

// GL state as the loading screen left it. The viewport is left out: it follows the window.
constexpr GLbitfield kKeptAttributes = GL_ALL_ATTRIB_BITS & ~static_cast<GLbitfield>(GL_VIEWPORT_BIT);

struct StateAfterLoading {
    bool kept = false;
    GLfloat projection[16] = {};
    GLfloat modelView[16] = {};
    GLfloat texture[16] = {};
};

StateAfterLoading afterLoading;

// Destroys `object` and makes it anew, as static construction made it.
template <typename T>
void Renew(T& object) {
    object.~T();
    new (&object) T();
}

void LoadMatrix(GLenum mode, const GLfloat* matrix) {
    glMatrixMode(mode);
    glLoadMatrixf(matrix);
}

// The bindings the pop brought back may name textures deleted since; the reload binds its own.
void UnbindTextures() {
    GLint units = 1;
    if (ext::glActiveTextureARB) glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    for (GLint unit = units - 1; unit >= 0; --unit) {
        if (ext::glActiveTextureARB) ext::glActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glBindTexture(GL_TEXTURE_1D, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

// Pops the state kept after loading and keeps it again for the next rewind.
void RestoreStateAfterLoading() {
    if (!afterLoading.kept) return;
    glPopClientAttrib();
    glPopAttrib();
    UnbindTextures();
    glPushAttrib(kKeptAttributes);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    LoadMatrix(GL_TEXTURE, afterLoading.texture);
    LoadMatrix(GL_PROJECTION, afterLoading.projection);
    LoadMatrix(GL_MODELVIEW, afterLoading.modelView);
    glMatrixMode(static_cast<GLenum>(mode));
}

void ForgetAnimations() {
    sceneTwoAnimation = SceneTwoAnimation{};
    sceneThreeAnimation = SceneThreeAnimation{};
    sceneFourAnimation = SceneFourAnimation{};
    causticAnimation = CausticAnimation{};
    cloudDrift = CloudDrift{};
    lensFlare = LensFlareState{};
    particleReseed = ParticleReseed{};
    waterDisturbance = WaterDisturbance{};
    platform::SRand(1);
    ResetSceneClock();
}

}  // namespace

void KeepStateAfterLoading() {
    glGetFloatv(GL_PROJECTION_MATRIX, afterLoading.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, afterLoading.modelView);
    glGetFloatv(GL_TEXTURE_MATRIX, afterLoading.texture);
    if (!afterLoading.kept) {
        glPushAttrib(kKeptAttributes);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    }
    afterLoading.kept = true;
}

void RewindDemo() {
    // A seek can come while unseen frames are being played: the loads compile display lists,
    // which must get their primitives.
    platform::SetDrawing(true);
    for (Scene* scene : demo.scenes) {
        scene->Unload();
        scene->Stop();
    }
    RestoreStateAfterLoading();
    Renew(demo);
    Renew(sceneOne);
    Renew(sceneTwo);
    Renew(sceneThree);
    Renew(sceneFour);
    ForgetAnimations();
    AddScenes();
    // The loading screen draws as it loads, but nothing of it is shown.
    platform::SetPresenting(false);
    demo.LoadAll();
    platform::SetPresenting(true);
}
