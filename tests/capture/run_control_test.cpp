// Where a later start begins, and how many frames a whole recording has; and a folder
// recording driven step by step on a real context, with real files and the real ffmpeg.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "capture/run_control.h"
#include "platform/child_process.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "support/bmp_files.h"
#include "support/gl_test_context.h"
#include "support/run_command.h"

TEST(RunControl, StartFrameAndTimelineLength) {
    EXPECT_EQ(StartFrame(0, 60), 0);
    EXPECT_EQ(StartFrame(52.5, 2), 105);
    EXPECT_EQ(StartFrame(130, 60), 7800);
    EXPECT_EQ(StartFrame(0.01, 60), 1);      // the first frame at or after the time
    EXPECT_EQ(StartFrame(1.0 / 3.0, 3), 1);  // no rounding up past an exact frame
    EXPECT_EQ(TimelineFrames(200, 60), 12000);
    EXPECT_EQ(TimelineFrames(200, 2), 400);
}

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Records into `folder` at 1 fps over a timeline of `timelineSeconds`, as the main loop does:
// every step up to the end of the timeline draws (a grey that changes per step) and swaps; the
// step after the end draws nothing and ends the run. Returns what Finish returned.
bool RecordSteps(const std::string& folder, double startSeconds, long frames, double timelineSeconds) {
    RunOptions options;
    options.captureDir = folder;
    options.fps = 1;
    options.startSeconds = startSeconds;
    options.frames = frames;
    RunControl run(options, {});
    std::string error;
    if (!run.Begin(timelineSeconds, "", error)) {
        ADD_FAILURE() << error;
        return false;
    }
    for (int step = 0;; ++step) {
        const double seconds = step;
        const bool goesOn = seconds <= timelineSeconds;
        run.BeforeTick();
        if (goesOn) {
            glClearColor(0.1f * static_cast<float>(step % 8), 0.5f, 0.5f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            platform::SwapBuffers();
        }
        if (!run.AfterTick(seconds, goesOn)) return run.Finish(seconds, false);
    }
}

std::string VideoFrameCount(const std::string& video) {
    std::string output;
    testing_support::RunCommand("ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames "
                                "-of default=nw=1:nk=1 '" + video + "'",
                                output);
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

}  // namespace

// A capture holds this run's frames and nothing else: frames past the end of the timeline are
// not recorded (the last picture is written once), and a shorter capture into a folder that
// already holds frames makes its video from its own frames only.
TEST(RunControl, AFolderCaptureHoldsExactlyThisRunsFrames) {
    ASSERT_TRUE(testing_support::OpenGLTestContext());
    const std::string folder = testing_support::MakeTempFolder("exact");
    // A 4 s timeline at 1 fps draws steps 0 to 4; --frames 10 runs past its end.
    ASSERT_TRUE(RecordSteps(folder, 0, 10, 4.0));
    for (const char* name : {"/frame_000000.png", "/frame_000004.png"}) EXPECT_TRUE(Exists(folder + name)) << name;
    EXPECT_FALSE(Exists(folder + "/frame_000005.png")) << "the last picture was written twice";

    const bool haveFfmpeg = platform::ProgramOnPath("ffmpeg") && platform::ProgramOnPath("ffprobe");
    if (haveFfmpeg) {
        EXPECT_EQ(VideoFrameCount(folder + "/undertow.mp4"), "5");
    }
    // Frames 2 and 3 again: the old 4 follows them in the folder, and stays out of the video.
    ASSERT_TRUE(RecordSteps(folder, 2.0, 2, 4.0));
    EXPECT_TRUE(Exists(folder + "/frame_000004.png"));
    if (haveFfmpeg) {
        EXPECT_EQ(VideoFrameCount(folder + "/undertow.mp4"), "2");
    }
}

// A frame, the last one included, or the video that cannot be written is a failed recording.
TEST(RunControl, AFolderCaptureThatCannotWriteFails) {
    ASSERT_TRUE(testing_support::OpenGLTestContext());
    const std::string lastFrame = testing_support::MakeTempFolder("nolast");
    ASSERT_EQ(::mkdir((lastFrame + "/frame_000002.png").c_str(), 0755), 0);   // in the way of the last frame
    EXPECT_FALSE(RecordSteps(lastFrame, 0, 3, 10.0));
    EXPECT_TRUE(Exists(lastFrame + "/frame_000001.png"));

    if (!platform::ProgramOnPath("ffmpeg")) GTEST_SKIP() << "no ffmpeg";
    const std::string noVideo = testing_support::MakeTempFolder("novideo");
    ASSERT_EQ(::mkdir((noVideo + "/undertow.mp4").c_str(), 0755), 0);   // in the way of the video
    EXPECT_FALSE(RecordSteps(noVideo, 0, 3, 10.0));
    EXPECT_TRUE(Exists(noVideo + "/frame_000002.png"));
    EXPECT_TRUE(Exists(noVideo + "/undertow.mp4"));
}
