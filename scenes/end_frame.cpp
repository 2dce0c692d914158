// scenes/end_frame.cpp — statistics line, flush and swap at the end of a scene frame.
#include "scenes/end_frame.h"

#include "app/frame_stats.h"
#include "app/settings.h"
#include "platform/gl.h"
#include "platform/window.h"

bool EndFrame() {
    if (showFrameStats) DrawFrameStats();
    glFlush();
    platform::SwapBuffers();
    return true;
}
