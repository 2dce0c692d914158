// gl_layers/program_cache.h — the layer's ES programs, one per fixed-function state in use,
// compiled the first time that state draws and kept for the rest of the run.
#pragma once

#include <cstdint>

#include "gl_layers/program_key.h"

namespace gl_layers {

// The uniforms a generated program may have, in the order of their locations in Program.
enum Uniform {
    kMvp, kModelView, kNormalMatrix, kModelView1, kNormalMatrix1, kProjection,
    kLightPosition, kLightAmbient, kLightDiffuse, kLightSpecular, kLightAttenuation, kSpotDirection, kSpot,
    kSceneColor, kShininess, kTexMatrix, kObjectPlane, kEyePlane,
    kEnvColor, kBorderColor, kTextureSize, kAlphaReference, kFogColor, kFog,
    kUniformCount
};

struct Program {
    GLuint name = 0;
    GLint locations[kUniformCount] = {};
    std::uint64_t serial = 0;   // the state serial its uniforms were last set from
};

// The program for `key`, compiled now if it is new; null when the driver rejects it (said
// once on stderr).
Program* ProgramFor(const ProgramKey& key);

// Programs compiled in this process, over every context.
int ProgramsCompiled();

// Compiles and links a vertex and fragment shader; 0, with one line on stderr, on failure.
GLuint LinkProgram(const char* vertexSource, const char* fragmentSource);

// Deletes every program (with the context current).
void ReleasePrograms();

}  // namespace gl_layers
