// gl_layers/framebuffers.cpp — the window's stand-in, framebuffer objects and the depth pass.
#include "gl_layers/framebuffers.h"

#include <map>
#include <set>

#include "gl_layers/display_lists.h"
#include "gl_layers/draw.h"
#include "gl_layers/gles_calls.h"
#include "gl_layers/program_cache.h"
#include "gl_layers/textures.h"

namespace gl_layers {

namespace {

// Reads one depth texel and writes it as 24 bits in red, green and blue.
const char kDepthVertex[] =
    "#version 300 es\n"
    "void main() {\n"
    "    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));\n"
    "    gl_Position = vec4(corner * 4.0 - 1.0, 0.0, 1.0);\n"
    "}\n";
const char kDepthFragment[] =
    "#version 300 es\n"
    "precision highp float;\n"
    "precision highp int;\n"
    "uniform highp sampler2D uDepth;\n"
    "uniform ivec2 uAt;\n"
    "out vec4 fragColor;\n"
    "void main() {\n"
    "    uint d = min(uint(texelFetch(uDepth, uAt, 0).r * 16777215.0 + 0.5), 16777215u);\n"
    "    fragColor = vec4(float(d >> 16u), float((d >> 8u) & 255u), float(d & 255u), 255.0) / 255.0;\n"
    "}\n";

struct Size {
    int width = 0, height = 0;
};

struct Framebuffers {
    GLuint window = 0, windowColor = 0, windowDepth = 0;
    int width = 0, height = 0;
    GLuint drawBinding = 0, readBinding = 0;      // the program's names
    GLuint renderbufferBinding = 0;
    std::map<GLuint, GLuint> depthTextures;       // renderbuffer name -> the texture standing in
    std::map<GLuint, GLuint> framebufferDepth;    // framebuffer name -> its depth texture
    std::set<GLuint> withColor;                   // framebuffer names with a colour attachment
    GLuint depthProgram = 0, depthTarget = 0, depthColor = 0;
    GLint depthAt = -1, depthSampler = -1;
    // Multisampled renderbuffers and the framebuffers they are attached to, by samples and size,
    // and a single-sampled copy of one for blits ES takes only between equal rectangles.
    std::map<GLuint, Size> multisampled;          // renderbuffer name
    std::map<GLuint, Size> multisampledTargets;   // framebuffer name
    GLuint resolve = 0, resolveColor = 0, resolveDepth = 0;
    Size resolveSize;
};

Framebuffers fb;

GLuint EsName(GLuint name) { return name == 0 ? fb.window : name; }

void BindEs(GLenum target, GLuint name) { es.BindFramebuffer(target, EsName(name)); }

GLuint MakeDepthTexture(int width, int height) {
    GLuint texture = 0;
    es.GenTextures(1, &texture);
    BindUnitTexture(15, texture);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es.TexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH24_STENCIL8, width, height, 0, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8,
                  nullptr);
    return texture;
}

void FreeResolve() {
    if (fb.resolve) es.DeleteFramebuffers(1, &fb.resolve);
    if (fb.resolveColor) es.DeleteRenderbuffers(1, &fb.resolveColor);
    if (fb.resolveDepth) es.DeleteTextures(1, &fb.resolveDepth);
    fb.resolve = fb.resolveColor = fb.resolveDepth = 0;
}

// A single-sampled framebuffer of `size` with colour and depth, for resolving into.
GLuint ResolveTarget(Size size) {
    if (fb.resolve && fb.resolveSize.width == size.width && fb.resolveSize.height == size.height) return fb.resolve;
    FreeResolve();
    fb.resolveSize = size;
    es.GenRenderbuffers(1, &fb.resolveColor);
    es.BindRenderbuffer(GL_RENDERBUFFER, fb.resolveColor);
    es.RenderbufferStorageMultisample(GL_RENDERBUFFER, 0, GL_RGBA8, size.width, size.height);
    es.BindRenderbuffer(GL_RENDERBUFFER, fb.renderbufferBinding);
    fb.resolveDepth = MakeDepthTexture(size.width, size.height);
    es.GenFramebuffers(1, &fb.resolve);
    es.BindFramebuffer(GL_DRAW_FRAMEBUFFER, fb.resolve);
    es.FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, fb.resolveColor);
    es.FramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, fb.resolveDepth, 0);
    return fb.resolve;
}

void FreeWindow() {
    if (fb.window) es.DeleteFramebuffers(1, &fb.window);
    if (fb.windowColor) es.DeleteRenderbuffers(1, &fb.windowColor);
    if (fb.windowDepth) es.DeleteTextures(1, &fb.windowDepth);
    fb.window = fb.windowColor = fb.windowDepth = 0;
}

bool MakeDepthPass() {
    if (fb.depthProgram) return true;
    fb.depthProgram = LinkProgram(kDepthVertex, kDepthFragment);
    if (!fb.depthProgram) return false;
    fb.depthAt = es.GetUniformLocation(fb.depthProgram, "uAt");
    fb.depthSampler = es.GetUniformLocation(fb.depthProgram, "uDepth");
    es.GenRenderbuffers(1, &fb.depthColor);
    es.BindRenderbuffer(GL_RENDERBUFFER, fb.depthColor);
    es.RenderbufferStorageMultisample(GL_RENDERBUFFER, 0, GL_RGBA8, 1, 1);
    es.GenFramebuffers(1, &fb.depthTarget);
    es.BindFramebuffer(GL_FRAMEBUFFER, fb.depthTarget);
    es.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, fb.depthColor);
    return true;
}

}  // namespace

bool MakeWindowFramebuffer(int width, int height) {
    FreeWindow();
    fb.width = width, fb.height = height;
    es.GenRenderbuffers(1, &fb.windowColor);
    es.BindRenderbuffer(GL_RENDERBUFFER, fb.windowColor);
    es.RenderbufferStorageMultisample(GL_RENDERBUFFER, 0, GL_RGBA8, width, height);
    es.BindRenderbuffer(GL_RENDERBUFFER, 0);
    fb.windowDepth = MakeDepthTexture(width, height);
    es.GenFramebuffers(1, &fb.window);
    es.BindFramebuffer(GL_FRAMEBUFFER, fb.window);
    es.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, fb.windowColor);
    es.FramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, fb.windowDepth, 0);
    const bool ok = es.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    BindEs(GL_DRAW_FRAMEBUFFER, fb.drawBinding);
    BindEs(GL_READ_FRAMEBUFFER, fb.readBinding);
    return ok;
}

void ReleaseFramebuffers() {
    FreeWindow();
    FreeResolve();
    for (auto& entry : fb.depthTextures) es.DeleteTextures(1, &entry.second);
    if (fb.depthProgram) es.DeleteProgram(fb.depthProgram);
    if (fb.depthTarget) es.DeleteFramebuffers(1, &fb.depthTarget);
    if (fb.depthColor) es.DeleteRenderbuffers(1, &fb.depthColor);
    fb = Framebuffers();
}

void PresentWindow(int drawableWidth, int drawableHeight) {
    es.Disable(GL_SCISSOR_TEST);
    es.BindFramebuffer(GL_READ_FRAMEBUFFER, fb.window);
    es.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    es.BlitFramebuffer(0, 0, fb.width, fb.height, 0, 0, fb.width, fb.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (drawableWidth > 0 && drawableHeight > 0 && (drawableWidth != fb.width || drawableHeight != fb.height))
        MakeWindowFramebuffer(drawableWidth, drawableHeight);
    BindEs(GL_DRAW_FRAMEBUFFER, fb.drawBinding);
    BindEs(GL_READ_FRAMEBUFFER, fb.readBinding);
    ForgetAppliedState();
}

void ReadBackOnePixel() {
    const GLuint drawn = fb.drawBinding;
    const bool readable = drawn == 0 || (fb.withColor.count(drawn) && !fb.multisampledTargets.count(drawn));
    es.BindFramebuffer(GL_READ_FRAMEBUFFER, readable ? EsName(drawn) : fb.window);
    unsigned char rgba[4];
    es.ReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    BindEs(GL_READ_FRAMEBUFFER, fb.readBinding);
}

GLuint ProgramFramebuffer(GLenum target) { return target == GL_READ_FRAMEBUFFER ? fb.readBinding : fb.drawBinding; }

float ReadDepth(int x, int y) {
    const auto found = fb.framebufferDepth.find(fb.readBinding);
    const GLuint texture = fb.readBinding == 0 ? fb.windowDepth : found == fb.framebufferDepth.end() ? 0 : found->second;
    if (!texture || !MakeDepthPass()) return 1.0f;
    es.BindFramebuffer(GL_FRAMEBUFFER, fb.depthTarget);
    es.Disable(GL_SCISSOR_TEST);
    es.Disable(GL_DEPTH_TEST);
    es.Disable(GL_BLEND);
    es.Disable(GL_CULL_FACE);
    es.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    es.Viewport(0, 0, 1, 1);
    DisableAllArrays();
    es.UseProgram(fb.depthProgram);
    BindUnitTexture(0, texture);
    es.Uniform1i(fb.depthSampler, 0);
    const GLint at[2] = {x, y};
    es.Uniform2iv(fb.depthAt, 1, at);
    es.DrawArrays(GL_TRIANGLES, 0, 3);
    unsigned char rgba[4] = {};
    es.ReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    BindUnitTexture(0, 0);
    BindEs(GL_DRAW_FRAMEBUFFER, fb.drawBinding);
    BindEs(GL_READ_FRAMEBUFFER, fb.readBinding);
    ForgetAppliedState();
    const unsigned depth = static_cast<unsigned>(rgba[0]) << 16 | static_cast<unsigned>(rgba[1]) << 8 | rgba[2];
    return depth >= 16777215u ? 1.0f : static_cast<float>(static_cast<double>(depth) / 16777215.0);
}

void APIENTRY GenFramebuffers(GLsizei n, GLuint* names) { es.GenFramebuffers(n, names); }

void APIENTRY DeleteFramebuffers(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) {
        if (names[i] == 0) continue;
        fb.framebufferDepth.erase(names[i]);
        fb.withColor.erase(names[i]);
        fb.multisampledTargets.erase(names[i]);
        if (fb.drawBinding == names[i]) BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        if (fb.readBinding == names[i]) BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        es.DeleteFramebuffers(1, &names[i]);
    }
}

void APIENTRY BindFramebuffer(GLenum target, GLuint name) {
    if (target == GL_FRAMEBUFFER || target == GL_DRAW_FRAMEBUFFER) fb.drawBinding = name;
    if (target == GL_FRAMEBUFFER || target == GL_READ_FRAMEBUFFER) fb.readBinding = name;
    BindEs(target, name);
}

GLenum APIENTRY CheckFramebufferStatus(GLenum target) { return es.CheckFramebufferStatus(target); }

void APIENTRY FramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint name) {
    const GLuint framebuffer = target == GL_READ_FRAMEBUFFER ? fb.readBinding : fb.drawBinding;
    const auto texture = fb.depthTextures.find(name);
    if (texture != fb.depthTextures.end()) {
        es.FramebufferTexture2D(target, attachment, GL_TEXTURE_2D, texture->second, 0);
        fb.framebufferDepth[framebuffer] = texture->second;
        return;
    }
    es.FramebufferRenderbuffer(target, attachment, renderbufferTarget, name);
    if (attachment == GL_COLOR_ATTACHMENT0 && name != 0) fb.withColor.insert(framebuffer);
    else if (attachment == GL_COLOR_ATTACHMENT0) fb.withColor.erase(framebuffer);
    const auto samples = fb.multisampled.find(name);
    if (samples != fb.multisampled.end()) fb.multisampledTargets[framebuffer] = samples->second;
}

void APIENTRY GenRenderbuffers(GLsizei n, GLuint* names) { es.GenRenderbuffers(n, names); }

void APIENTRY DeleteRenderbuffers(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) {
        fb.multisampled.erase(names[i]);
        const auto texture = fb.depthTextures.find(names[i]);
        if (texture != fb.depthTextures.end()) {
            es.DeleteTextures(1, &texture->second);
            fb.depthTextures.erase(texture);
        }
        es.DeleteRenderbuffers(1, &names[i]);
    }
}

void APIENTRY BindRenderbuffer(GLenum target, GLuint name) {
    fb.renderbufferBinding = name;
    es.BindRenderbuffer(target, name);
}

void APIENTRY RenderbufferStorageMultisample(GLenum target, GLsizei samples, GLenum format, GLsizei width,
                                             GLsizei height) {
    const bool depth = format == GL_DEPTH24_STENCIL8 || format == GL_DEPTH_COMPONENT24 ||
                       format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT;
    if (depth && samples == 0 && fb.renderbufferBinding != 0) {
        GLuint& texture = fb.depthTextures[fb.renderbufferBinding];
        if (texture) es.DeleteTextures(1, &texture);
        texture = MakeDepthTexture(width, height);
        return;
    }
    es.RenderbufferStorageMultisample(target, samples, format == GL_DEPTH_COMPONENT ? GL_DEPTH_COMPONENT24 : format,
                                      width, height);
    if (samples > 0) fb.multisampled[fb.renderbufferBinding] = Size{width, height};
    else fb.multisampled.erase(fb.renderbufferBinding);
}

void APIENTRY RenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height) {
    RenderbufferStorageMultisample(target, 0, format, width, height);
}

void APIENTRY BlitFramebuffer(GLint x0, GLint y0, GLint x1, GLint y1, GLint dx0, GLint dy0, GLint dx1, GLint dy1,
                              GLbitfield mask, GLenum filter) {
    if (!RecordCall([=] { BlitFramebuffer(x0, y0, x1, y1, dx0, dy0, dx1, dy1, mask, filter); })) return;
    ApplyRenderState();   // the scissor box applies to blits
    const auto source = fb.multisampledTargets.find(fb.readBinding);
    const bool sameRegion = x0 == dx0 && y0 == dy0 && x1 == dx1 && y1 == dy1;
    if (fb.readBinding == 0 || source == fb.multisampledTargets.end() || sameRegion)
        return es.BlitFramebuffer(x0, y0, x1, y1, dx0, dy0, dx1, dy1, mask, filter);
    // ES resolves samples only between equal rectangles: the whole picture first, then the part.
    const Size size = source->second;
    es.BindFramebuffer(GL_DRAW_FRAMEBUFFER, ResolveTarget(size));
    es.BlitFramebuffer(0, 0, size.width, size.height, 0, 0, size.width, size.height, mask, GL_NEAREST);
    es.BindFramebuffer(GL_READ_FRAMEBUFFER, fb.resolve);
    BindEs(GL_DRAW_FRAMEBUFFER, fb.drawBinding);
    es.BlitFramebuffer(x0, y0, x1, y1, dx0, dy0, dx1, dy1, mask, filter);
    BindEs(GL_READ_FRAMEBUFFER, fb.readBinding);
}

void APIENTRY DrawBuffer(GLenum mode) {
    if (!RecordCall([=] { DrawBuffer(mode); })) return;
    if (fb.drawBinding == 0) return;   // the window's stand-in always draws into its colour
    const GLenum buffer = mode == GL_NONE ? GL_NONE : GL_COLOR_ATTACHMENT0;
    es.DrawBuffers(1, &buffer);
}

void APIENTRY ReadBuffer(GLenum mode) {
    if (!RecordCall([=] { ReadBuffer(mode); })) return;
    state.server.readBuffer = mode;
    es.ReadBuffer(mode == GL_NONE && fb.readBinding != 0 ? GL_NONE : GL_COLOR_ATTACHMENT0);
}

}  // namespace gl_layers
