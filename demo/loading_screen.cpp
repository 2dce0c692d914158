// demo/loading_screen.cpp — textures and scenes load behind a growing progress bar.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/settings.h"
#include "demo/demo.h"
#include "image/image_file.h"
#include "platform/asset_path.h"
#include "platform/window.h"
#include "scene/overlay_space.h"
#include "scene/scene.h"

namespace {

// A picture glDrawPixels can take as GL_RGB rows of `rowLength` pixels without leaving its buffer.
bool Drawable(const Image& image) {
    return image.bitsPerPixel == 24 && image.width > 0 && image.height > 0 &&
           image.pixels.size() >= static_cast<std::size_t>(image.width) * image.height * 3;
}

}  // namespace

int ProgressBarWidth(float progress) {
    if (progress > 100.0f) progress = 100.0f;
    const int whole = progress > 0.0f ? static_cast<int>(progress) : 0;
    return (whole / 10) * 56 + 41;
}

bool Demo::LoadAll() {
    BeginLoading();
    while (LoadNext()) {
    }
    return true;
}

void Demo::BeginLoading() {
    LoadBMP("TEKSTURY\\pasek1.BMP", barFrame);
    LoadBMP("TEKSTURY\\pasek2.BMP", barFill);
    barX = 320 - barFrame.width / 2;
    barY = 100;
    progress = 0.0f;
    loaded = 0;
    loadScratch = Image{};
}

bool Demo::LoadNext() {
    const int textures = registry.Count();
    const int units = textures + static_cast<int>(scenes.size());
    float step = 100.0f;
    if (units > 0) step = 100.0f / static_cast<float>(units);
    if (loaded >= units) {
        loadScratch = Image{};
        return false;
    }
    if (loaded < textures) {
        LoadTextureSlot(loaded);
    } else {
        scenes[static_cast<std::size_t>(loaded - textures)]->Load();
    }
    progress += step;
    DrawProgress();
    if (loaded < textures && loaded < kTextureSlots)
        registry.Deliver(static_cast<unsigned>(loaded), textureSlots[loaded].name);
    ++loaded;
    return true;
}

void Demo::LoadTextureSlot(int i) {
    TextureParams params;
    params.mipmaps = settings.useMipmaps;
    params.compress = useTextureCompression;
    params.filter = settings.useMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    params.anisotropy = settings.useAnisotropicFilter ? 2.0f : 1.0f;

    const char* path = registry.GetName(static_cast<unsigned>(i));
    if (i >= kTextureSlots) {
        // More names than slots: the rest get no texture, and their destinations keep 0.
        std::fprintf(stderr, "textures: no slot left for %s\n", path);
        return;
    }
    textureSlots[i].Bind();
    switch (DetectImageType(path)) {
        case 1: LoadBMP(path, loadScratch); break;
        case 2: LoadTGA(path, loadScratch); break;
        default: {
            // The slot keeps the previous picture; the picture stays as it always was.
            std::string why = platform::AssetFileProblem(path);
            if (why.empty()) why = "neither a BMP nor an uncompressed true-colour Targa picture";
            std::fprintf(stderr, "textures: cannot read %s (%s)\n", path, why.c_str());
            break;
        }
    }
    UploadTexture(GL_TEXTURE_2D, loadScratch, params);
    textureSlots[i].Unbind();
}

void Demo::DrawProgress() {
    if (progress > 100.0f) progress = 100.0f;
    const int barWidth = ProgressBarWidth(progress);
    glClear(GL_COLOR_BUFFER_BIT);
    PushOverlaySpace();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The pictures are laid out in 640 × 480 units; a larger picture draws them larger.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPixelZoom(static_cast<float>(viewport[2]) / 640.0f, static_cast<float>(viewport[3]) / 480.0f);
    glRasterPos2i(barX, barY - 45);
    if (Drawable(barFrame)) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, barFrame.width);
        glDrawPixels(barFrame.width, barFrame.height, GL_RGB, GL_UNSIGNED_BYTE, barFrame.pixels.data());
    }
    if (Drawable(barFill)) {
        // The filling is read with its own row length and never wider than it is, so a picture
        // narrower than the frame or than 601 pixels cannot make the read leave its buffer.
        glPixelStorei(GL_UNPACK_ROW_LENGTH, barFill.width);
        const int width = std::min(barWidth, static_cast<int>(barFill.width));
        glDrawPixels(width, barFill.height, GL_RGB, GL_UNSIGNED_BYTE, barFill.pixels.data());
    }
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    PopOverlaySpace();
    glFlush();
    platform::SwapBuffers();
}
