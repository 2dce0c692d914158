// effects/caustics.cpp — loading and cycling the caustic pictures.
#include "effects/caustics.h"

#include <cstdio>

#include "image/image_file.h"

CausticAnimation causticAnimation;

void LoadCausticFrames(Image (&frames)[kCausticFrameCount], GLuint texture) {
    GLint width = 0, height = 0;
    if (texture != 0 && glIsTexture(texture)) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    for (int k = 0; k < kCausticFrameCount; ++k) {
        char name[40];
        std::snprintf(name, sizeof name, "TEKSTURY\\WODA\\Caust%d.BMP", k);
        Image& frame = frames[k];
        frame = Image();
        if (!LoadBMP(name, frame)) continue;   // the reader has named the file
        // A texture without a picture was named when the loading screen failed to read it.
        if (width <= 0 || height <= 0) {
            frame = Image();
            continue;
        }
        const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
        if (frame.width != width || frame.height != height || frame.bitsPerPixel != 24 || frame.pixels.size() != bytes) {
            std::fprintf(stderr, "caustics: skipping %s (%d × %d at %d bits, the texture is %d × %d at 24)\n", name,
                         frame.width, frame.height, frame.bitsPerPixel, width, height);
            frame = Image();
        }
    }
}

void AdvanceCaustics(float frameTime, const Image (&frames)[kCausticFrameCount]) {
    CausticAnimation& a = causticAnimation;
    a.timer -= frameTime;
    if (a.timer > 0.0f) return;
    a.timer = kCausticInterval;
    a.index = (a.index + 1) % kCausticFrameCount;
    const Image& frame = frames[a.index];
    if (frame.IsEmpty()) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE,
                    frame.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
