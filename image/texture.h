// image/texture.h — GL texture objects and the upload of a picture into one.
#pragma once

#include "image/image.h"
#include "platform/gl.h"

// Owns one GL texture name, generated on first use. Its owner gives the name back with Release
// while the GL context is current; the destructor does so only while the window is still open,
// so an object that outlives the context makes no GL call.
class Texture {
public:
    explicit Texture(GLenum target) : target(target) {}
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void Generate();
    void Bind();
    void Unbind();
    // Deletes the name, if one was made; the next Bind makes a new one.
    void Release();

    GLenum target;
    GLuint name = 0;
    bool created = false;
};

class Texture2D : public Texture {
public:
    Texture2D() : Texture(GL_TEXTURE_2D) {}
    ~Texture2D() override = default;
};

// How pictures are sent to GL.
struct TextureParams {
    bool mipmaps = true;
    bool compress = false;
    GLenum filter = GL_LINEAR_MIPMAP_LINEAR;   // minification filter
    float anisotropy = 1.0f;                   // applied when above 1
};

// Uploads into the texture bound to `target`; false for an empty picture or a pixel size
// other than 8, 24 or 32 bits.
bool UploadTexture(GLenum target, const Image& image, const TextureParams& params);
