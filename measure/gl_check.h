// measure/gl_check.h — the --check-gl watch: GL errors after the loading screen and every frame.
#pragma once

#include <string>

#include "platform/gl.h"

// Collects GL errors at checkpoints: glGetError, plus the driver's debug messages of the error
// kind where the context offers GL_KHR_debug. The first error of the run is printed on stderr
// with the checkpoint's name and the demo time; the rest are only counted.
class GlErrorCheck {
public:
    // Needs a current context; installs the debug callback when the driver has one.
    // `debugOutputOffered`: the driver advertises GL_KHR_debug.
    void Begin(bool debugOutputOffered);
    // Stops listening to the debug output.
    void End();

    // Takes every pending error; false when there was one.
    bool Check(const char* where, float demoTime);

    int ErrorCount() const { return errorCount; }
    bool UsesDebugOutput() const { return debugOutput; }
    const std::string& FirstError() const { return firstError; }

    // Called from the driver's debug callback.
    void OnDebugMessage(GLenum type, GLenum severity, const char* message);

private:
    void Record(const std::string& what, const char* where, float demoTime);

    int errorCount = 0;
    bool debugOutput = false;
    std::string firstError;
    std::string pendingDebug;   // the first debug error since the last checkpoint
    int pendingDebugCount = 0;
};

// "GL_INVALID_ENUM" and the like; the number in hex for an unknown code.
std::string GlErrorName(GLenum error);
