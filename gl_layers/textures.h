// gl_layers/textures.h — the program's texture objects over ES textures.
//
// A texture name is the ES texture's own name. 1D textures are ES 2D textures one texel high.
// Each object keeps what ES 3.0 cannot be asked (level sizes, the base format the texture
// environments read, GL_CLAMP wrapping), and its completeness: an enabled unit whose texture is
// incomplete draws as if texturing were off there, as on the desktop.
#pragma once

#include <functional>
#include <vector>

#include "gl_layers/program_key.h"

namespace gl_layers {

struct TextureObject {
    GLenum target = 0;   // GL_TEXTURE_1D or GL_TEXTURE_2D once first bound
    std::vector<std::pair<int, int>> levels;   // width and height of each level; 0 x 0 when unset
    TextureFormat format = kFormatRGB;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLenum magFilter = GL_LINEAR;
    GLenum wrapS = GL_REPEAT, wrapT = GL_REPEAT;
    float border[4] = {0, 0, 0, 0};
    bool Complete() const;
};

// The object of a bound name; null for 0 or a name never bound.
const TextureObject* FindTexture(GLuint name);

// Binds `name` to ES texture unit `unit` (the units a draw samples from) and leaves that unit
// active.
void BindUnitTexture(int unit, GLuint name);

// Forgets every object (their ES textures go with the context).
void ReleaseTextures();

void APIENTRY GenTextures(GLsizei n, GLuint* names);
void APIENTRY DeleteTextures(GLsizei n, const GLuint* names);
GLboolean APIENTRY IsTexture(GLuint name);
void APIENTRY BindTexture(GLenum target, GLuint name);
void APIENTRY TexImage1D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLint border,
                         GLenum format, GLenum type, const GLvoid* pixels);
void APIENTRY TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                         GLint border, GLenum format, GLenum type, const GLvoid* pixels);
void APIENTRY TexSubImage1D(GLenum target, GLint level, GLint x, GLsizei width, GLenum format, GLenum type,
                            const GLvoid* pixels);
void APIENTRY TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, const GLvoid* pixels);
void APIENTRY TexParameteri(GLenum target, GLenum name, GLint value);
void APIENTRY TexParameterf(GLenum target, GLenum name, GLfloat value);
void APIENTRY GetTexParameteriv(GLenum target, GLenum name, GLint* values);
void APIENTRY GetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* values);

// The unpacked rows of a client picture as tight bytes of `components` per pixel (1 to 4,
// as `format` gives them), honouring the unpack alignment and row length. Empty for a format or
// type the layer does not take.
std::vector<unsigned char> UnpackPixels(int width, int height, GLenum format, GLenum type, const void* pixels);

// Bytes per pixel of a client format with unsigned bytes; 0 for one the layer does not take.
int FormatComponents(GLenum format);

// While a list is being compiled, keeps a call that reads client pixels in it: they are
// unpacked now, as GL unpacks them when it compiles such a call, and the call gets them again
// in tight rows when the list is replayed. Returns whether the call is also to be carried out
// now with the pixels given (no list compiling, or GL_COMPILE_AND_EXECUTE).
bool RecordWithPixels(int width, int height, GLenum format, GLenum type, const void* pixels,
                      std::function<void(const void* tight)> call);

}  // namespace gl_layers
