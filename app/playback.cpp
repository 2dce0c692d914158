// app/playback.cpp — pause, frame step, seeks, the time line, --loop and --max-fps.
#include "app/playback.h"

#include <algorithm>
#include <cstdio>

#include "app/bitmap_font.h"
#include "app/demo_rewind.h"
#include "app/globals.h"
#include "app/shell.h"
#include "capture/screenshot.h"
#include "gl_layers/gles_layer.h"
#include "measure/gl_objects.h"
#include "platform/audio.h"
#include "platform/gl.h"
#include "platform/picture_target.h"
#include "platform/process_memory.h"
#include "platform/run_loop.h"
#include "platform/run_state.h"
#include "platform/tick.h"
#include "player/time_bar.h"
#include "scene/overlay_space.h"

namespace {

constexpr double kHoldSleepSeconds = 0.01;      // the paused loop's wait between looks at the keys
constexpr double kRepaintSeconds = 0.25;        // how often the paused picture is put back on screen
constexpr unsigned kCountedNames = 4096;        // GL names a pass report looks at

Playback* overlayOwner = nullptr;

void DrawOverlayHook() {
    if (overlayOwner) overlayOwner->DrawOverlay();
}

void PrintWithFont(const char* text) {
    for (const char* c = text; *c; ++c) font.PrintChar(*c);
}

}  // namespace

PlayerTimeline DemoTimeline(int fps) {
    PlayerTimeline timeline;
    for (const Scene* scene : demo.scenes) timeline.sceneStarts.push_back(scene->startTime);
    std::sort(timeline.sceneStarts.begin(), timeline.sceneStarts.end());
    timeline.end = demo.endTime;
    timeline.fps = fps;
    return timeline;
}

Playback::Playback(const Options& runOptions, RunControl& runControl)
    : options(runOptions), run(runControl), player(DemoTimeline(60)), live(!runOptions.UsesVirtualClock()) {
    if (!live) return;
    overlayOwner = this;
    platform::SetOverlayHook(DrawOverlayHook);
    if (options.paused) {
        // As a seek made while paused: the first frame shown is the one held.
        player.Take(platform::WindowMessage::Pause, 0.0);
        seeking = true;
    }
}

Playback::~Playback() {
    if (overlayOwner != this) return;
    overlayOwner = nullptr;
    platform::SetOverlayHook(nullptr);
}

bool Playback::Take(platform::WindowMessage message, const platform::MessageDetail& detail) {
    if (!live || !IsPlayerKey(message)) return false;
    const PlayerAction action = player.Take(message, detail, demo.clock);
    switch (action.kind) {
        case PlayerAction::Kind::Pause: pausing = true; break;
        case PlayerAction::Kind::Resume: Resume(); break;
        case PlayerAction::Kind::Seek: Seek(action.seconds); break;
        case PlayerAction::Kind::Step: Step(); break;
        case PlayerAction::Kind::TimeBar:
            if (player.Paused() && !seeking && !pausing) ShowPausedPicture();
            break;
        case PlayerAction::Kind::None: break;
    }
    return true;
}

bool Playback::Holding(double& resumeAt) {
    if (live && player.Ended()) {
        resumeAt = platform::WallSeconds() + kHoldSleepSeconds;
        return true;
    }
    if (!live || !player.Paused() || pausing || seeking || stepping) return false;
    if (platform::WallSeconds() - pictureShownAt >= kRepaintSeconds) ShowPausedPicture();
    resumeAt = platform::WallSeconds() + kHoldSleepSeconds;
    return true;
}

double Playback::AfterFrame() {
    if (!live) return 0.0;
    if (seeking && run.Showing()) {
        seeking = false;
        if (player.Paused()) pausing = true;   // the seek's first frame is the one held
    }
    if (pausing) {
        pausing = false;
        if (player.Paused()) Pause();
    }
    stepping = false;
    if (options.maxFps <= 0 || !run.Showing() || player.Paused()) return 0.0;
    const double now = platform::WallSeconds();
    const double resumeAt = nextFrameAt;
    nextFrameAt = std::max(now, nextFrameAt) + 1.0 / options.maxFps;
    return resumeAt;
}

bool Playback::LoopBack() {
    if (!options.loop) return false;
    RewindDemo();
    if (live) PlayMusicFrom(0.0);
    nextFrameAt = 0.0;
    ++passes;
    platform::ReturnFreeMemory();   // what the last pass freed, before the next one runs
    // What a soak compares between passes.
    std::fprintf(stderr, "undertow: pass %d begins; resident %ld KB, %d textures, %d display lists\n", passes + 1,
                 platform::ResidentKilobytes(), CountLiveTextures(kCountedNames), CountLiveLists(kCountedNames));
    if (gl_layers::GlesLayerInstalled())
        std::fprintf(stderr, "undertow: %d OpenGL ES layer programs compiled so far\n", gl_layers::GlesProgramsCompiled());
    return true;
}

bool Playback::HoldEnd() {
    if (!live || !platform::RunStaysOpen()) return false;
    player.End();
    std::fprintf(stderr, "undertow: the timeline ended at %.2f s; Space or a seek plays it again\n",
                 static_cast<double>(demo.clock));
    return true;
}

void Playback::ReportState() const {
    using platform::RunPhase;
    RunPhase phase = RunPhase::Playing;
    if (player.Ended()) phase = RunPhase::Ended;
    else if (!run.Showing()) phase = RunPhase::CatchingUp;
    else if (player.Paused() && !pausing && !seeking && !stepping) phase = RunPhase::Paused;
    platform::SetRunState(phase, demo.clock);
}

void Playback::DrawOverlay() {
    // The picture a pause holds is the frame drawn after the key (or after a step, or a seek's
    // first frame), taken before the time line goes over it.
    if (pausing || stepping || (seeking && player.Paused())) KeepPausedPicture();
    if (!player.TimeBarShown()) return;
    DrawTimeBar(demo.clock, demo.endTime, SceneName(demo.currentScene), player.Paused(), PrintWithFont);
}

// The music holds and the demo clock stands still until Resume, one step past the held picture:
// a frame step shows the next frame, however long the held one took to draw.
void Playback::Pause() {
    platform::AudioPause();
    platform::UseVirtualClock(demo.LastTick());
    platform::AdvanceVirtualClock(1000.0 / player.Timeline().fps);
    pictureShownAt = platform::WallSeconds();
}

void Playback::Resume() {
    pausedPicture.clear();
    platform::UseLiveClockFrom(platform::GetTickCount());
    platform::AudioStart();
    nextFrameAt = 0.0;
}

// The demo starts again and is played unseen up to `seconds`, as --start does; the run control
// starts the music and the live clock there.
void Playback::Seek(double seconds) {
    platform::AudioStop();
    RewindDemo();
    platform::UseVirtualClock(0);
    run.Restart(seconds);
    seeking = true;
    stepping = false;
}

// The paused clock moves on by one step after the frame, as every frame of the virtual clock.
void Playback::Step() {
    if (!seeking) stepping = true;
}

void Playback::KeepPausedPicture() {
    pausedPicture = ReadPicture();
    pausedWidth = platform::PictureWidth();
    pausedHeight = platform::PictureHeight();
}

// Puts the kept picture back on screen, with the time line over it when shown.
void Playback::ShowPausedPicture() {
    pictureShownAt = platform::WallSeconds();
    if (pausedPicture.empty()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_PIXEL_MODE_BIT | GL_TRANSFORM_BIT);
    PushOverlaySpace();
    for (GLenum cap : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_LIGHTING, GL_DEPTH_TEST, GL_FOG, GL_BLEND, GL_ALPHA_TEST,
                       GL_SCISSOR_TEST, GL_STENCIL_TEST})
        glDisable(cap);
    glPixelZoom(1.0f, 1.0f);
    glRasterPos2i(0, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(pausedWidth, pausedHeight, GL_RGB, GL_UNSIGNED_BYTE, pausedPicture.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    PopOverlaySpace();
    glPopAttrib();
    platform::SwapBuffers();
}
