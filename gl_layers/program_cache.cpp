// gl_layers/program_cache.cpp — compiling, linking and finding the generated programs.
#include "gl_layers/program_cache.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "gl_layers/gles_calls.h"

namespace gl_layers {

namespace {

const char* const kUniformNames[kUniformCount] = {
    "uMvp", "uModelView", "uNormalMatrix", "uModelView1", "uNormalMatrix1", "uProjection",
    "uLightPosition", "uLightAmbient", "uLightDiffuse", "uLightSpecular", "uLightAttenuation", "uSpotDirection", "uSpot",
    "uSceneColor", "uShininess", "uTexMatrix", "uObjectPlane", "uEyePlane",
    "uEnvColor", "uBorderColor", "uTextureSize", "uAlphaReference", "uFogColor", "uFog",
};

// The programs of this context, by the bytes of their keys.
struct ProgramCache {
    std::unordered_map<std::string, std::unique_ptr<Program>> programs;
    bool failureSaid = false;
};

ProgramCache cache;
int compiledInProcess = 0;   // over every context, for the run's report

GLuint CompileShader(GLenum type, const char* source) {
    const GLuint shader = es.CreateShader(type);
    es.ShaderSource(shader, 1, &source, nullptr);
    es.CompileShader(shader);
    GLint ok = 0;
    es.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "gles layer: the driver rejects a %s shader: %s\n",
                     type == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
        es.DeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint LinkProgram(const char* vertexSource, const char* fragmentSource) {
    const GLuint vertex = CompileShader(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = vertex ? CompileShader(GL_FRAGMENT_SHADER, fragmentSource) : 0;
    if (!fragment) {
        if (vertex) es.DeleteShader(vertex);
        return 0;
    }
    const GLuint program = es.CreateProgram();
    es.AttachShader(program, vertex);
    es.AttachShader(program, fragment);
    es.LinkProgram(program);
    es.DeleteShader(vertex);
    es.DeleteShader(fragment);
    GLint ok = 0;
    es.GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        es.GetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "gles layer: the driver cannot link a program: %s\n", log);
        es.DeleteProgram(program);
        return 0;
    }
    return program;
}

Program* ProgramFor(const ProgramKey& key) {
    const std::string bytes(reinterpret_cast<const char*>(&key), sizeof key);
    auto found = cache.programs.find(bytes);
    if (found != cache.programs.end()) return found->second.get();
    auto program = std::make_unique<Program>();
    program->name = LinkProgram(VertexShaderSource(key).c_str(), FragmentShaderSource(key).c_str());
    ++compiledInProcess;
    if (program->name == 0) {
        if (!cache.failureSaid) std::fprintf(stderr, "gles layer: a state cannot be drawn\n");
        cache.failureSaid = true;
        cache.programs[bytes] = nullptr;
        return nullptr;
    }
    for (int i = 0; i < kUniformCount; ++i) program->locations[i] = es.GetUniformLocation(program->name, kUniformNames[i]);
    es.UseProgram(program->name);
    for (int u = 0; u < kUnits; ++u) {
        const std::string sampler = "uSampler" + std::to_string(u);
        const GLint location = es.GetUniformLocation(program->name, sampler.c_str());
        if (location >= 0) es.Uniform1i(location, u);
    }
    Program* result = program.get();
    cache.programs[bytes] = std::move(program);
    return result;
}

int ProgramsCompiled() { return compiledInProcess; }

void ReleasePrograms() {
    for (auto& entry : cache.programs)
        if (entry.second && es.DeleteProgram) es.DeleteProgram(entry.second->name);
    cache = ProgramCache();
}

}  // namespace gl_layers
