// gl_layers/textures.cpp — texture objects, uploads and parameters.
#include "gl_layers/textures.h"

#include <cstring>
#include <unordered_map>

#include "gl_layers/display_lists.h"
#include "gl_layers/gles_calls.h"

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

namespace gl_layers {

namespace {

constexpr int kUploadUnit = 15;   // the ES unit uploads bind on, apart from the draws' units

struct TextureTable {
    std::unordered_map<GLuint, TextureObject> objects;
    GLuint unitBindings[16] = {};
    int activeUnit = -1;
};

TextureTable table;

void ActivateUnit(int unit) {
    if (table.activeUnit == unit) return;
    es.ActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    table.activeUnit = unit;
}

// Leaves `unit` active, so that texture calls after it reach `name`.
void BindOn(int unit, GLuint name) {
    ActivateUnit(unit);
    if (table.unitBindings[unit] == name) return;
    es.BindTexture(GL_TEXTURE_2D, name);
    table.unitBindings[unit] = name;
}

// The object bound to the active unit for `target` (null for none or the default texture).
TextureObject* Bound(GLenum target, GLuint* nameOut = nullptr) {
    const TextureUnit& unit = state.server.units[state.server.activeUnit];
    const GLuint name = target == GL_TEXTURE_1D ? unit.bound1D : unit.bound2D;
    if (nameOut) *nameOut = name;
    auto found = table.objects.find(name);
    return found == table.objects.end() || name == 0 ? nullptr : &found->second;
}

// The ES format of an internal format, and the base format the environments read.
bool InternalFormat(GLint internal, GLenum& esInternal, GLenum& esFormat, TextureFormat& format) {
    switch (internal) {
        case 1: case GL_LUMINANCE: case GL_LUMINANCE8: case GL_COMPRESSED_LUMINANCE_ARB:
            esInternal = esFormat = GL_LUMINANCE, format = kFormatLuminance; return true;
        case 2: case GL_LUMINANCE_ALPHA: case GL_LUMINANCE8_ALPHA8:
            esInternal = esFormat = GL_LUMINANCE_ALPHA, format = kFormatLuminanceAlpha; return true;
        case GL_ALPHA: case GL_ALPHA8:
            esInternal = esFormat = GL_ALPHA, format = kFormatAlpha; return true;
        case GL_INTENSITY: case GL_INTENSITY8:
            esInternal = esFormat = GL_LUMINANCE_ALPHA, format = kFormatIntensity; return true;
        case 3: case GL_RGB: case GL_RGB8: case GL_COMPRESSED_RGB_ARB:
            esInternal = GL_RGB8, esFormat = GL_RGB, format = kFormatRGB; return true;
        case 4: case GL_RGBA: case GL_RGBA8: case GL_COMPRESSED_RGBA_ARB:
            esInternal = GL_RGBA8, esFormat = GL_RGBA, format = kFormatRGBA; return true;
        default: return false;
    }
}

// Client pixels (tight, in `format`) as the bytes of the ES format of `destination`; given back
// as they are where the two lie alike.
std::vector<unsigned char> Convert(std::vector<unsigned char> source, GLenum format, TextureFormat destination) {
    if ((format == GL_RGB && destination == kFormatRGB) || (format == GL_RGBA && destination == kFormatRGBA) ||
        (format == GL_LUMINANCE && destination == kFormatLuminance) ||
        (format == GL_LUMINANCE_ALPHA && destination == kFormatLuminanceAlpha) ||
        (format == GL_ALPHA && destination == kFormatAlpha))
        return source;
    const int from = FormatComponents(format);
    const std::size_t count = from ? source.size() / static_cast<std::size_t>(from) : 0;
    const int to = destination == kFormatRGBA ? 4 : destination == kFormatRGB ? 3
                   : (destination == kFormatLuminanceAlpha || destination == kFormatIntensity) ? 2 : 1;
    std::vector<unsigned char> out(count * static_cast<std::size_t>(to));
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* p = &source[i * static_cast<std::size_t>(from)];
        unsigned char rgba[4] = {0, 0, 0, 255};
        switch (format) {
            case GL_LUMINANCE: rgba[0] = rgba[1] = rgba[2] = p[0]; break;
            case GL_LUMINANCE_ALPHA: rgba[0] = rgba[1] = rgba[2] = p[0], rgba[3] = p[1]; break;
            case GL_ALPHA: rgba[3] = p[0]; break;
            case GL_BGR: rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0]; break;
            case GL_BGRA: rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = p[3]; break;
            default: std::memcpy(rgba, p, static_cast<std::size_t>(from)); break;
        }
        unsigned char* q = &out[i * static_cast<std::size_t>(to)];
        switch (destination) {
            case kFormatRGBA: std::memcpy(q, rgba, 4); break;
            case kFormatRGB: std::memcpy(q, rgba, 3); break;
            case kFormatLuminanceAlpha: q[0] = rgba[0], q[1] = rgba[3]; break;
            case kFormatIntensity: q[0] = q[1] = rgba[0]; break;
            case kFormatAlpha: q[0] = rgba[3]; break;
            default: q[0] = rgba[0]; break;
        }
    }
    return out;
}

void Upload(TextureObject& object, GLuint name, GLint level, GLint internal, int width, int height, GLenum format,
            GLenum type, const void* pixels) {
    GLenum esInternal = 0, esFormat = 0;
    TextureFormat base = kFormatRGB;
    if (level < 0 || width < 0 || height < 0 || !InternalFormat(internal, esInternal, esFormat, base) ||
        (pixels && FormatComponents(format) == 0) || type != GL_UNSIGNED_BYTE) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (level == 0) object.format = base;
    std::vector<unsigned char> data;
    if (pixels) data = Convert(UnpackPixels(width, height, format, type, pixels), format, base);
    BindOn(kUploadUnit, name);
    es.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    es.TexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(esInternal), width, height, 0, esFormat, GL_UNSIGNED_BYTE,
                  pixels ? data.data() : nullptr);
    if (object.levels.size() <= static_cast<std::size_t>(level)) object.levels.resize(static_cast<std::size_t>(level) + 1);
    object.levels[static_cast<std::size_t>(level)] = {width, height};
}

void UploadPart(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                GLenum type, const GLvoid* pixels) {
    GLuint name = 0;
    TextureObject* object = Bound(target, &name);
    if (!object || type != GL_UNSIGNED_BYTE || FormatComponents(format) == 0) {
        SetError(object ? GL_INVALID_ENUM : GL_INVALID_OPERATION);
        return;
    }
    const std::vector<unsigned char> data = Convert(UnpackPixels(width, height, format, type, pixels), format, object->format);
    GLenum esInternal = 0, esFormat = 0;
    TextureFormat base = kFormatRGB;
    const GLint internal[] = {3, 4, 1, 2, GL_ALPHA, GL_INTENSITY};
    InternalFormat(internal[object->format], esInternal, esFormat, base);
    BindOn(kUploadUnit, name);
    es.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    es.TexSubImage2D(GL_TEXTURE_2D, level, x, y, width, height, esFormat, GL_UNSIGNED_BYTE, data.data());
}

// ES sampler state of an object from its GL parameters; GL_CLAMP is edge clamping there, the
// border blend is the fragment shader's.
void ApplyParameter(GLuint name, GLenum parameter, GLint value) {
    BindOn(kUploadUnit, name);
    if (parameter == GL_TEXTURE_WRAP_S || parameter == GL_TEXTURE_WRAP_T)
        value = value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value;
    es.TexParameteri(GL_TEXTURE_2D, parameter, value);
}

}  // namespace

bool TextureObject::Complete() const {
    if (levels.empty() || levels[0].first <= 0 || levels[0].second <= 0) return false;
    if (minFilter == GL_NEAREST || minFilter == GL_LINEAR) return true;
    int w = levels[0].first, h = levels[0].second;
    for (std::size_t level = 1;; ++level) {
        if (w == 1 && h == 1) return true;
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        if (level >= levels.size() || levels[level].first != w || levels[level].second != h) return false;
    }
}

const TextureObject* FindTexture(GLuint name) {
    if (name == 0) return nullptr;
    auto found = table.objects.find(name);
    return found == table.objects.end() ? nullptr : &found->second;
}

void BindUnitTexture(int unit, GLuint name) { BindOn(unit, name); }

void ReleaseTextures() { table = TextureTable(); }

int FormatComponents(GLenum format) {
    switch (format) {
        case GL_LUMINANCE: case GL_ALPHA: case GL_RED: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB: case GL_BGR: return 3;
        case GL_RGBA: case GL_BGRA: return 4;
        default: return 0;
    }
}

std::vector<unsigned char> UnpackPixels(int width, int height, GLenum format, GLenum type, const void* pixels) {
    const int components = FormatComponents(format);
    if (!pixels || components == 0 || type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0) return {};
    const ClientState& client = state.client;
    const std::size_t rowPixels = client.unpackRowLength > 0 ? static_cast<std::size_t>(client.unpackRowLength)
                                                             : static_cast<std::size_t>(width);
    const std::size_t alignment = static_cast<std::size_t>(client.unpackAlignment);
    const std::size_t stride = (rowPixels * components + alignment - 1) / alignment * alignment;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
    std::vector<unsigned char> out(rowBytes * static_cast<std::size_t>(height));
    const unsigned char* in = static_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y) std::memcpy(&out[y * rowBytes], in + y * stride, rowBytes);
    return out;
}

bool RecordWithPixels(int width, int height, GLenum format, GLenum type, const void* pixels,
                      std::function<void(const void* tight)> call) {
    if (!CompilingList()) return true;
    std::vector<unsigned char> kept = UnpackPixels(width, height, format, type, pixels);
    const bool given = pixels != nullptr;
    return RecordCall([kept = std::move(kept), given, call = std::move(call)] {
        static const unsigned char kRefused = 0;   // stands for pixels the layer did not take
        ClientState& client = state.client;
        const GLint alignment = client.unpackAlignment, rowLength = client.unpackRowLength;
        client.unpackAlignment = 1;
        client.unpackRowLength = 0;
        call(!given ? nullptr : kept.empty() ? &kRefused : kept.data());
        client.unpackAlignment = alignment;
        client.unpackRowLength = rowLength;
    });
}

void APIENTRY GenTextures(GLsizei n, GLuint* names) {
    if (n > 0) es.GenTextures(n, names);
}

void APIENTRY DeleteTextures(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) {
        const GLuint name = names[i];
        if (name == 0) continue;
        for (TextureUnit& unit : state.server.units) {
            if (unit.bound1D == name) unit.bound1D = 0;
            if (unit.bound2D == name) unit.bound2D = 0;
        }
        for (GLuint& bound : table.unitBindings)
            if (bound == name) bound = 0;
        table.objects.erase(name);
        es.DeleteTextures(1, &name);
    }
}

GLboolean APIENTRY IsTexture(GLuint name) { return FindTexture(name) ? GL_TRUE : GL_FALSE; }

void APIENTRY BindTexture(GLenum target, GLuint name) {
    if (!RecordCall([=] { BindTexture(target, name); })) return;
    if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return SetError(GL_INVALID_ENUM);
    if (name != 0) {
        TextureObject& object = table.objects[name];
        if (object.target == 0) {
            object.target = target;
            // A 1D texture samples its one row at t = 0.5 whatever the wrap.
            if (target == GL_TEXTURE_1D) ApplyParameter(name, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            ApplyParameter(name, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
        } else if (object.target != target) {
            return SetError(GL_INVALID_OPERATION);
        }
    }
    TextureUnit& unit = state.server.units[state.server.activeUnit];
    (target == GL_TEXTURE_1D ? unit.bound1D : unit.bound2D) = name;
}

void APIENTRY TexImage1D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLint border, GLenum format,
                         GLenum type, const GLvoid* pixels) {
    if (!RecordWithPixels(width, 1, format, type, pixels, [=](const void* tight) {
            TexImage1D(target, level, internalFormat, width, border, format, type, tight);
        }))
        return;
    GLuint name = 0;
    TextureObject* object = Bound(target, &name);
    if (target != GL_TEXTURE_1D || !object || border != 0) return SetError(GL_INVALID_OPERATION);
    Upload(*object, name, level, internalFormat, width, 1, format, type, pixels);
}

void APIENTRY TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                         GLenum format, GLenum type, const GLvoid* pixels) {
    if (!RecordWithPixels(width, height, format, type, pixels, [=](const void* tight) {
            TexImage2D(target, level, internalFormat, width, height, border, format, type, tight);
        }))
        return;
    GLuint name = 0;
    TextureObject* object = Bound(target, &name);
    if (target != GL_TEXTURE_2D || !object || border != 0) return SetError(GL_INVALID_OPERATION);
    Upload(*object, name, level, internalFormat, width, height, format, type, pixels);
}

void APIENTRY TexSubImage1D(GLenum target, GLint level, GLint x, GLsizei width, GLenum format, GLenum type,
                            const GLvoid* pixels) {
    if (!RecordWithPixels(width, 1, format, type, pixels, [=](const void* tight) {
            TexSubImage1D(target, level, x, width, format, type, tight);
        }))
        return;
    UploadPart(target, level, x, 0, width, 1, format, type, pixels);
}

void APIENTRY TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, const GLvoid* pixels) {
    if (!RecordWithPixels(width, height, format, type, pixels, [=](const void* tight) {
            TexSubImage2D(target, level, x, y, width, height, format, type, tight);
        }))
        return;
    UploadPart(target, level, x, y, width, height, format, type, pixels);
}

void APIENTRY TexParameteri(GLenum target, GLenum name, GLint value) {
    if (name == GL_TEXTURE_MAX_ANISOTROPY_EXT) return TexParameterf(target, name, static_cast<GLfloat>(value));
    if (!RecordCall([=] { TexParameteri(target, name, value); })) return;
    GLuint texture = 0;
    TextureObject* object = Bound(target, &texture);
    if (!object) return SetError(GL_INVALID_OPERATION);
    switch (name) {
        case GL_TEXTURE_MIN_FILTER: object->minFilter = static_cast<GLenum>(value); break;
        case GL_TEXTURE_MAG_FILTER: object->magFilter = static_cast<GLenum>(value); break;
        case GL_TEXTURE_WRAP_S: object->wrapS = static_cast<GLenum>(value); break;
        case GL_TEXTURE_WRAP_T:
            object->wrapT = static_cast<GLenum>(value);
            if (object->target == GL_TEXTURE_1D) return;
            break;
        default: return SetError(GL_INVALID_ENUM);
    }
    ApplyParameter(texture, name, value);
}

void APIENTRY TexParameterf(GLenum target, GLenum name, GLfloat value) {
    if (name != GL_TEXTURE_MAX_ANISOTROPY_EXT) return TexParameteri(target, name, static_cast<GLint>(value));
    if (!RecordCall([=] { TexParameterf(target, name, value); })) return;
    GLuint texture = 0;
    if (!Bound(target, &texture)) return SetError(GL_INVALID_OPERATION);
    BindOn(kUploadUnit, texture);
    es.TexParameterf(GL_TEXTURE_2D, name, value);
}

void APIENTRY GetTexParameteriv(GLenum target, GLenum name, GLint* values) {
    const TextureObject* object = Bound(target);
    if (!object) return SetError(GL_INVALID_OPERATION);
    switch (name) {
        case GL_TEXTURE_MIN_FILTER: *values = static_cast<GLint>(object->minFilter); break;
        case GL_TEXTURE_MAG_FILTER: *values = static_cast<GLint>(object->magFilter); break;
        case GL_TEXTURE_WRAP_S: *values = static_cast<GLint>(object->wrapS); break;
        case GL_TEXTURE_WRAP_T: *values = static_cast<GLint>(object->wrapT); break;
        default: SetError(GL_INVALID_ENUM); break;
    }
}

void APIENTRY GetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* values) {
    const TextureObject* object = Bound(target);
    std::pair<int, int> size{0, 0};
    if (object && level >= 0 && static_cast<std::size_t>(level) < object->levels.size())
        size = object->levels[static_cast<std::size_t>(level)];
    if (name == GL_TEXTURE_WIDTH) *values = size.first;
    else if (name == GL_TEXTURE_HEIGHT) *values = size.second;
    else SetError(GL_INVALID_ENUM);
}

}  // namespace gl_layers
