// gl_layers/pixels.cpp — the raster position, glBitmap, glDrawPixels, glReadPixels and glClear.
//
// Bitmaps and pixel rectangles are drawn as window-aligned quads sampling a texture of their
// pixels texel for texel, through the fragment operations in force (blending, depth, scissor),
// without culling, as GL treats their fragments.
#include "gl_layers/pixels.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "gl_layers/display_lists.h"
#include "gl_layers/draw.h"
#include "gl_layers/framebuffers.h"
#include "gl_layers/gles_calls.h"
#include "gl_layers/matrix_math.h"
#include "gl_layers/program_cache.h"
#include "gl_layers/textures.h"
#include "platform/rasterizer_settle.h"

namespace gl_layers {

namespace {

const char kWindowVertex[] =
    "#version 300 es\n"
    "layout(location = 0) in vec4 aPosition;\n"
    "layout(location = 4) in vec4 aTexCoord0;\n"
    "out vec2 vAt;\n"
    "void main() { gl_Position = aPosition; vAt = aTexCoord0.xy; }\n";
const char kWindowFragment[] =
    "#version 300 es\n"
    "precision highp float;\n"
    "uniform sampler2D uPixels;\n"
    "uniform vec4 uColor;\n"
    "uniform int uBitmap;\n"
    "in vec2 vAt;\n"
    "out vec4 fragColor;\n"
    "void main() {\n"
    "    vec4 texel = texture(uPixels, vAt);\n"
    "    if (uBitmap != 0 && texel.r < 0.5) discard;\n"
    "    fragColor = uBitmap != 0 ? uColor : texel;\n"
    "}\n";

struct WindowPass {
    GLuint program = 0, texture = 0;
    GLint color = -1, bitmap = -1, sampler = -1;
};

WindowPass pass;

// Whether glFinish waits by reading a pixel back instead of by the context's glFinish.
bool finishByReadBack = false;

bool MakePass() {
    if (pass.program) return true;
    pass.program = LinkProgram(kWindowVertex, kWindowFragment);
    if (!pass.program) return false;
    pass.color = es.GetUniformLocation(pass.program, "uColor");
    pass.bitmap = es.GetUniformLocation(pass.program, "uBitmap");
    pass.sampler = es.GetUniformLocation(pass.program, "uPixels");
    es.GenTextures(1, &pass.texture);
    return true;
}

// Draws `width` × `height` texels of the pass's texture over the window rectangle from
// (x0, y0) to (x1, y1) at the raster position's depth.
void DrawWindowQuad(float x0, float y0, float x1, float y1, bool bitmap) {
    const ServerState& s = state.server;
    const float vx = static_cast<float>(s.viewport[0]), vy = static_cast<float>(s.viewport[1]);
    const float vw = static_cast<float>(s.viewport[2]), vh = static_cast<float>(s.viewport[3]);
    auto nx = [&](float x) { return 2.0f * (x - vx) / vw - 1.0f; };
    auto ny = [&](float y) { return 2.0f * (y - vy) / vh - 1.0f; };
    const float range = s.depthRange[1] - s.depthRange[0];
    const float z = range != 0.0f ? (2.0f * s.rasterPos[2] - s.depthRange[0] - s.depthRange[1]) / range : 0.0f;
    const float quad[4][8] = {{nx(x0), ny(y0), z, 1, 0, 0, 0, 1},
                              {nx(x1), ny(y0), z, 1, 1, 0, 0, 1},
                              {nx(x0), ny(y1), z, 1, 0, 1, 0, 1},
                              {nx(x1), ny(y1), z, 1, 1, 1, 0, 1}};
    ApplyRenderState();
    es.Disable(GL_CULL_FACE);
    es.UseProgram(pass.program);
    es.Uniform4fv(pass.color, 1, s.rasterColor);
    es.Uniform1i(pass.bitmap, bitmap ? 1 : 0);
    es.Uniform1i(pass.sampler, 0);
    BindUnitTexture(0, pass.texture);
    const std::uintptr_t at = StreamVertices(quad, sizeof quad);
    es.BindBuffer(GL_ARRAY_BUFFER, VertexStream());
    DisableAllArrays();
    es.EnableVertexAttribArray(kPosition);
    es.EnableVertexAttribArray(kTexCoord0);
    es.VertexAttribPointer(kPosition, 4, GL_FLOAT, GL_FALSE, sizeof quad[0], reinterpret_cast<const void*>(at));
    es.VertexAttribPointer(kTexCoord0, 4, GL_FLOAT, GL_FALSE, sizeof quad[0],
                           reinterpret_cast<const void*>(at + 4 * sizeof(float)));
    es.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    es.DisableVertexAttribArray(kPosition);
    es.DisableVertexAttribArray(kTexCoord0);
    BindUnitTexture(0, 0);
    ForgetAppliedState();
}

// Loads tight single-byte or RGBA texels into the pass's texture.
void LoadPassTexture(int width, int height, GLenum format, const unsigned char* texels) {
    BindUnitTexture(0, pass.texture);
    es.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    es.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    es.TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, texels);
}

void DrawBitmapNow(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
                   const std::vector<unsigned char>& texels) {
    ServerState& s = state.server;
    if (!s.rasterValid) return;
    if (width > 0 && height > 0 && !texels.empty() && MakePass()) {
        LoadPassTexture(width, height, GL_LUMINANCE, texels.data());
        const float x = std::floor(s.rasterPos[0] - xorig), y = std::floor(s.rasterPos[1] - yorig);
        DrawWindowQuad(x, y, x + static_cast<float>(width), y + static_cast<float>(height), true);
    }
    s.rasterPos[0] += xmove;
    s.rasterPos[1] += ymove;
}

}  // namespace

void APIENTRY RasterPos2i(GLint x, GLint y) {
    if (!RecordCall([=] { RasterPos2i(x, y); })) return;
    ServerState& s = state.server;
    const float object[4] = {static_cast<float>(x), static_cast<float>(y), 0, 1};
    float eye[4], clip[4];
    TransformPoint(state.modelView.Top().m, object, eye);
    TransformPoint(state.projection.Top().m, eye, clip);
    const float w = clip[3];
    s.rasterValid = w > 0.0f;
    for (int i = 0; i < 3 && s.rasterValid; ++i) s.rasterValid = clip[i] >= -w && clip[i] <= w;
    std::memcpy(s.rasterColor, s.color, sizeof s.rasterColor);
    if (!s.rasterValid) return;
    const float range = s.depthRange[1] - s.depthRange[0];
    s.rasterPos[0] = (clip[0] / w + 1.0f) * 0.5f * static_cast<float>(s.viewport[2]) + static_cast<float>(s.viewport[0]);
    s.rasterPos[1] = (clip[1] / w + 1.0f) * 0.5f * static_cast<float>(s.viewport[3]) + static_cast<float>(s.viewport[1]);
    s.rasterPos[2] = (clip[2] / w) * 0.5f * range + 0.5f * (s.depthRange[0] + s.depthRange[1]);
    s.rasterPos[3] = w;
}

void APIENTRY Bitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
                     const GLubyte* bits) {
    // One byte per pixel, 255 where the bitmap is set. The rows are read as GL reads them: a bit
    // a pixel, rows of the unpack row length where one is set, padded to the unpack alignment.
    std::vector<unsigned char> texels;
    if (bits && width > 0 && height > 0) {
        const GLint rowLength = state.client.unpackRowLength > 0 ? state.client.unpackRowLength : width;
        const std::size_t rowBytes = (static_cast<std::size_t>(rowLength) + 7) / 8;
        const std::size_t alignment = static_cast<std::size_t>(state.client.unpackAlignment);
        const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
        texels.resize(static_cast<std::size_t>(width) * height);
        for (GLsizei y = 0; y < height; ++y)
            for (GLsizei x = 0; x < width; ++x) {
                const unsigned char byte = bits[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) / 8];
                texels[static_cast<std::size_t>(y) * width + x] = (byte >> (7 - x % 8)) & 1 ? 255 : 0;
            }
    }
    if (CompilingList() && !KeepCall([=] { DrawBitmapNow(width, height, xorig, yorig, xmove, ymove, texels); }))
        return;
    DrawBitmapNow(width, height, xorig, yorig, xmove, ymove, texels);
}

void APIENTRY DrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels) {
    if (!RecordWithPixels(width, height, format, type, pixels,
                          [=](const void* tight) { DrawPixels(width, height, format, type, tight); }))
        return;
    const ServerState& s = state.server;
    if (!s.rasterValid || width <= 0 || height <= 0 || !MakePass()) return;
    const std::vector<unsigned char> tight = UnpackPixels(width, height, format, type, pixels);
    if (tight.empty()) return SetError(GL_INVALID_ENUM);
    const int components = FormatComponents(format);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4, 255);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        const unsigned char* p = &tight[i * static_cast<std::size_t>(components)];
        unsigned char* q = &rgba[i * 4];
        if (components >= 3) {
            const bool bgr = format == GL_BGR || format == GL_BGRA;
            q[0] = p[bgr ? 2 : 0], q[1] = p[1], q[2] = p[bgr ? 0 : 2];
            if (components == 4) q[3] = p[3];
        } else {
            q[0] = q[1] = q[2] = p[0];
            if (components == 2) q[3] = p[1];
        }
    }
    LoadPassTexture(width, height, GL_RGBA, rgba.data());
    const float x = s.rasterPos[0], y = s.rasterPos[1];
    DrawWindowQuad(x, y, x + s.zoom[0] * static_cast<float>(width), y + s.zoom[1] * static_cast<float>(height), false);
}

void APIENTRY ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels) {
    if (width <= 0 || height <= 0 || !pixels) return;
    if (format == GL_DEPTH_COMPONENT) {
        if (type != GL_FLOAT) return SetError(GL_INVALID_ENUM);
        for (GLsizei j = 0; j < height; ++j)
            for (GLsizei i = 0; i < width; ++i)
                static_cast<GLfloat*>(pixels)[j * width + i] = ReadDepth(x + i, y + j);
        return;
    }
    const bool packed = type == GL_UNSIGNED_INT_8_8_8_8_REV && format == GL_BGRA;
    const int components = FormatComponents(format);
    if (components == 0 || (type != GL_UNSIGNED_BYTE && !packed)) return SetError(GL_INVALID_ENUM);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    es.PixelStorei(GL_PACK_ALIGNMENT, 4);
    es.ReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const ClientState& c = state.client;
    const std::size_t rowPixels = c.packRowLength > 0 ? static_cast<std::size_t>(c.packRowLength) : static_cast<std::size_t>(width);
    const std::size_t alignment = static_cast<std::size_t>(c.packAlignment);
    const std::size_t stride = (rowPixels * components + alignment - 1) / alignment * alignment;
    for (GLsizei j = 0; j < height; ++j) {
        unsigned char* row = static_cast<unsigned char*>(pixels) + static_cast<std::size_t>(j) * stride;
        for (GLsizei i = 0; i < width; ++i) {
            const unsigned char* p = &rgba[(static_cast<std::size_t>(j) * width + i) * 4];
            unsigned char* q = row + static_cast<std::size_t>(i) * components;
            switch (format) {
                case GL_BGRA: q[0] = p[2], q[1] = p[1], q[2] = p[0], q[3] = p[3]; break;
                case GL_BGR: q[0] = p[2], q[1] = p[1], q[2] = p[0]; break;
                case GL_LUMINANCE: case GL_RED: q[0] = p[0]; break;
                case GL_ALPHA: q[0] = p[3]; break;
                case GL_LUMINANCE_ALPHA: q[0] = p[0], q[1] = p[3]; break;
                default: std::memcpy(q, p, static_cast<std::size_t>(components)); break;
            }
        }
    }
}

void APIENTRY Clear(GLbitfield mask) {
    if (!RecordCall([=] { Clear(mask); })) return;
    ApplyRenderState();
    const float* c = state.server.clearColor;
    es.ClearColor(c[0], c[1], c[2], c[3]);
    es.ClearDepthf(state.server.clearDepth);
    es.Clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void ChooseFinish(const char* esVersion) { finishByReadBack = std::strstr(esVersion, "WebGL") != nullptr; }

void APIENTRY Finish() {
    if (finishByReadBack) return ReadBackOnePixel();
    es.Finish();
    platform::SettleRasterizer();
}

void APIENTRY Flush() {
    es.Flush();
    platform::SettleRasterizer();   // a wait, not a held fence: see platform/rasterizer_settle.h
}

void ReleasePixelPass() {
    if (pass.program) es.DeleteProgram(pass.program);
    if (pass.texture) es.DeleteTextures(1, &pass.texture);
    pass = WindowPass();
}

}  // namespace gl_layers
