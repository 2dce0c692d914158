// scenes/scene_two.cpp — sky sphere, chrome ball, the morphing cube cloud, noise flickers, fades.
#include "scenes/scene_two.h"

#include <algorithm>
#include <cmath>

#include "app/extensions.h"
#include "measure/pass_times.h"
#include "app/settings.h"
#include "demo/texture_registry.h"
#include "platform/random.h"
#include "scene/overlay_space.h"
#include "scenes/cube_outline.h"
#include "scenes/end_frame.h"

namespace {

// Degrees to radians with 3.14, not pi: the orbits are tuned to it.
constexpr float kDegrees = 3.14f / 180.0f;

// Adds `speed`·dt degrees; above 360 the angle comes back by one turn.
void Turn(float& angle, float speed, float dt) {
    angle += speed * dt;
    if (angle > 360.0f) angle -= 360.0f;
}

// The switch, plus the entry point it promises, so a scene driven without extension detection
// (tests) cannot call through a null pointer.
bool Multitexture() { return settings.useMultitexture && ext::glActiveTextureARB; }

}  // namespace

SceneTwoAnimation sceneTwoAnimation;

SceneTwo::SceneTwo() {
    AllocateTextures(4);
    ballQuadric = gluNewQuadric();
    gluQuadricNormals(ballQuadric, GLU_SMOOTH);
    gluQuadricTexture(ballQuadric, GL_TRUE);
    gluQuadricOrientation(ballQuadric, GLU_OUTSIDE);
    skyQuadric = gluNewQuadric();
    gluQuadricNormals(skyQuadric, GLU_SMOOTH);
    gluQuadricTexture(skyQuadric, GL_TRUE);
    gluQuadricOrientation(skyQuadric, GLU_INSIDE);
}

SceneTwo::~SceneTwo() {
    SceneTwo::Unload();
    SceneTwo::Stop();
}

void SceneTwo::RegisterTextures(TextureRegistry& registry) {
    registry.Add("TEKSTURY\\env2.bmp", &textures[0]);
    registry.Add("TEKSTURY\\stars2.bmp", &textures[1]);
    registry.Add("TEKSTURY\\stars.bmp", &textures[3]);
}

bool SceneTwo::Load() {
    if (!Scene::Load()) return false;
    // Read here, not at construction: the level may be set after the scenes exist.
    sphereDetail = settings.detailLevel == 2 ? 32 : settings.detailLevel == 1 ? 24 : 16;
    std::fill(std::begin(noiseTexels), std::end(noiseTexels), std::uint8_t{200});
    for (const FlickerWindow& window : kFlickerWindows) flickerSchedule.AddWindow(window.start, window.end, 0.0f, 0.0f);

    glGenTextures(1, &textures[2]);
    glBindTexture(GL_TEXTURE_1D, textures[2]);
    glTexImage1D(GL_TEXTURE_1D, 0, 1, 256, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, noiseTexels);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    vertexBuffer = std::make_unique<CloudPoint[]>(kVertexBufferBytes / sizeof(CloudPoint));
    cubeIndices = std::make_unique<std::uint16_t[]>(static_cast<std::size_t>(kIndexedCubes) * kCubeIndices);
    FillCubeIndices(cubeIndices.get(), kIndexedCubes);
    loopIndices = std::make_unique<std::uint16_t[]>(static_cast<std::size_t>(kIndexedCubes) * kLoopIndices);
    FillLoopIndices(loopIndices.get(), kIndexedCubes);

    const int c = CloudDetail(settings.detailLevel);
    lattice = std::make_unique<PointSet>();
    BuildLattice(*lattice, c);
    cylinder = std::make_unique<PointSet>();
    BuildCylinder(*cylinder, c);
    wavePlane = std::make_unique<PointSet>();
    BuildWavePlane(*wavePlane, c);
    scatter = std::make_unique<PointSet>();
    BuildScatter(*scatter, std::max(lattice->count, cylinder->count), c);
    morphed = std::make_unique<PointSet>();
    morphed->points.resize(scatter->count);
    nearBall.reserve(scatter->count);
    return true;
}

bool SceneTwo::Start() {
    if (!Scene::Start()) return false;
    LoadPerspective(60.0, aspectRatio, kFarPlane);

    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (settings.useVertexArrayRange) glEnableClientState(GL_VERTEX_ARRAY_RANGE_NV);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    if (Multitexture()) {
        // The ball's second unit adds the sphere-mapped reflection to its plain texture.
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    } else {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    }
    glDisable(GL_FOG);
    PrepareSkyInOnePass();
    return true;
}

bool SceneTwo::Stop() {
    if (!Scene::Stop()) return false;
    if (settings.useVertexArrayRange) glDisableClientState(GL_VERTEX_ARRAY_RANGE_NV);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    ReleaseSkyInOnePass();
    return true;
}

bool SceneTwo::Unload() {
    if (!Scene::Unload()) return false;
    glDeleteTextures(1, &textures[2]);   // the noise texture, made by Load
    textures[2] = 0;
    cubeIndices.reset();
    loopIndices.reset();
    wavePlane.reset();
    lattice.reset();
    cylinder.reset();
    scatter.reset();
    morphed.reset();
    vertexBuffer.reset();
    nearBall = std::vector<CloudPoint>();
    return true;
}

bool SceneTwo::AdvanceFadeOut(float /*step*/) {
    closingFade = true;
    return true;
}

bool SceneTwo::Frame() {
    if (!started || !loaded) return false;
    SceneTwoAnimation& a = sceneTwoAnimation;

    // The camera turns by the previous frame's duration, before the clock moves.
    Turn(a.cameraA, 40.0f, frameTime);
    Turn(a.cameraB, 30.0f, frameTime);
    Turn(a.cameraC, 20.0f, frameTime);
    Scene::Frame();

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -36.0f);
    glRotatef(a.cameraA, 1.0f, 0.0f, 0.0f);
    glRotatef(a.cameraB, 0.0f, 1.0f, 0.0f);
    glRotatef(a.cameraC, 0.0f, 0.0f, 1.0f);
    DrawSky();
    pass_times::Mark("clear and sky");

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    // The cubes are wound clockwise; the ball is drawn with this winding too, so its inside faces
    // are the ones seen. The sky sets its own winding back (see DrawSky).
    glFrontFace(GL_CW);

    const PointSet* shape = cylinder.get();
    switch (a.morph.shapeCounter % 3) {
        case 1: shape = lattice.get(); break;
        case 2:
            AnimateWave(*wavePlane, a.wavePhase, frameTime);
            shape = wavePlane.get();
            break;
        default: break;
    }
    MorphPointSets(*morphed, *shape, *scatter, std::sin(a.morph.morphPhase * 3.14f / 2.0f));
    pass_times::Mark("morph");
    DrawBallAndCloud(*morphed);
    pass_times::Mark("cube cloud");
    a.morph.Step(frameTime);

    if (flickerSchedule.IsActive(startTime + localTime, 0.0f)) DrawNoiseFlicker();
    if (openingFade) DrawOpeningFade();
    if (closingFade) DrawClosingFade();
    pass_times::Mark("flicker and fades");
    return EndFrame();
}

void SceneTwo::DrawBallAndCloud(const PointSet& set) {
    SceneTwoAnimation& a = sceneTwoAnimation;
    Turn(a.ballD, 60.0f, frameTime);
    Turn(a.ballE, 45.0f, frameTime);
    Turn(a.ballF, 30.0f, frameTime);
    const float cx = 16.0f * std::sin(a.ballD * kDegrees);
    const float cy = 16.0f * std::cos(a.ballE * kDegrees);
    const float cz = 16.0f * std::sin(a.ballF * kDegrees);
    DrawBall(cx, cy, cz);
    pass_times::Mark("ball");
    DrawCloud(set, cx, cy, cz);
}

// The chrome ball at (cx, cy, cz): its texture plus, with two units, the sphere-mapped
// reflection on the second.
void SceneTwo::DrawBall(float cx, float cy, float cz) {
    glEnable(GL_TEXTURE_2D);
    if (Multitexture()) {
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
    }
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glPushMatrix();
    glTranslatef(cx, cy, cz);
    glColor3f(1.0f, 1.0f, 1.0f);
    gluSphere(ballQuadric, kBallRadius, sphereDetail, sphereDetail);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (Multitexture()) {
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
    }
}

void SceneTwo::DrawNoiseFlicker() {
    SceneTwoAnimation& a = sceneTwoAnimation;
    auto drawTimers = [&] {
        a.gapTimer = static_cast<float>(platform::Rand() % 10) * 0.01f;
        a.burstTimer = static_cast<float>(platform::Rand() % 10) * 0.01f;
    };
    if (!a.flickerTimersSet) {
        drawTimers();
        a.flickerTimersSet = true;
    }
    a.gapTimer -= frameTime;
    if (a.gapTimer > 0.0f) return;
    a.burstTimer -= frameTime;
    if (a.burstTimer < 0.0f) drawTimers();   // this frame still flickers

    PushOverlaySpace();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_1D);
    glBindTexture(GL_TEXTURE_1D, textures[2]);
    for (std::uint8_t& texel : noiseTexels) texel = static_cast<std::uint8_t>(platform::Rand() % 32 + 32);
    glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 256, GL_LUMINANCE, GL_UNSIGNED_BYTE, noiseTexels);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3f(1.0f, 1.0f, 1.0f);
    // One luminance value per horizontal band: the texture runs bottom to top.
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord1f(1.0f);
    glVertex2i(0, 0);
    glTexCoord1f(0.0f);
    glVertex2i(0, 480);
    glTexCoord1f(1.0f);
    glVertex2i(640, 0);
    glTexCoord1f(0.0f);
    glVertex2i(640, 480);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_1D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    PopOverlaySpace();
}

void SceneTwo::DrawOpeningFade() {
    float& alpha = sceneTwoAnimation.openingAlpha;
    alpha -= 0.5f * frameTime;
    if (alpha < 0.0f) openingFade = false;   // the last, nearly clear overlay is still drawn
    glColor4f(0.1f, 0.05f, 0.3f, alpha);
    DrawFullScreenVeil();
}

void SceneTwo::DrawClosingFade() {
    float& alpha = sceneTwoAnimation.closingAlpha;
    alpha = std::min(alpha + frameTime, 1.0f);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    DrawFullScreenVeil();
}
