// image/texture.cpp — texture names and uploads.
#include "image/texture.h"

#include "platform/window.h"

Texture::~Texture() {
    if (platform::IsWindowOpen()) Release();
}

void Texture::Release() {
    if (created) glDeleteTextures(1, &name);
    created = false;
    name = 0;
}

void Texture::Generate() {
    if (!created) glGenTextures(1, &name);
    created = true;
}

void Texture::Bind() {
    Generate();
    glBindTexture(target, name);
}

void Texture::Unbind() { glBindTexture(target, 0); }

bool UploadTexture(GLenum target, const Image& image, const TextureParams& params) {
    GLenum format = 0;
    GLint components = 0;
    switch (image.bitsPerPixel) {
        case 8: format = GL_LUMINANCE; components = 1; break;
        case 24: format = GL_RGB; components = 3; break;
        case 32: format = GL_RGBA; components = 4; break;
        default: return false;
    }
    // An empty picture (nothing read yet) is refused as well.
    if (image.width <= 0 || image.height <= 0 || image.IsEmpty()) return false;
    GLint internalFormat = components;
    if (params.compress) {
        internalFormat = format == GL_LUMINANCE ? GL_COMPRESSED_LUMINANCE_ARB
                         : format == GL_RGB     ? GL_COMPRESSED_RGB_ARB
                                                : GL_COMPRESSED_RGBA_ARB;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLenum parameterTarget = target;
    if (params.mipmaps) {
        gluBuild2DMipmaps(target, internalFormat, image.width, image.height, format, GL_UNSIGNED_BYTE,
                          image.pixels.data());
        parameterTarget = GL_TEXTURE_2D;
    } else {
        glTexImage2D(target, 0, internalFormat, image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(parameterTarget, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(parameterTarget, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(params.filter));
    if (params.anisotropy > 1.0f) {
        glTexParameterf(parameterTarget, GL_TEXTURE_MAX_ANISOTROPY_EXT, params.anisotropy);
    }
    return true;
}
