// scenes/texture_stages.cpp — combiner stages: what the context offers, and the reset.
#include "scenes/texture_stages.h"

#include "app/extensions.h"
#include "app/settings.h"

GLenum TextureUnit(int index) { return static_cast<GLenum>(GL_TEXTURE0_ARB + index); }

bool CombinerStagesAvailable(int units) {
    if (!settings.useMultitexture || !settings.useTextureEnvCombine) return false;
    if (!ext::glActiveTextureARB || !ext::glMultiTexCoord2fARB || !ext::glMultiTexCoord4fARB) return false;
    if (!IsExtensionSupported("GL_ATI_texture_env_combine3")) return false;
    GLint available = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &available);
    return available >= units;
}

void ResetCombiner() {
    const GLfloat clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, clear);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_EXT, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_EXT, GL_PREVIOUS_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_EXT, GL_CONSTANT_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_EXT, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_EXT, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_EXT, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_EXT, GL_SRC_ALPHA);
}

void ResetStage(int index) {
    ext::glActiveTextureARB(TextureUnit(index));
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    ResetCombiner();
    ext::glMultiTexCoord4fARB(TextureUnit(index), 0.0f, 0.0f, 0.0f, 1.0f);
}
