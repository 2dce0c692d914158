// scenes/cave_caustics.cpp — the three combiner stages of the cave walls with their caustics.
#include "scenes/cave_caustics.h"

#include "app/extensions.h"
#include "scenes/texture_stages.h"

namespace {

// The stage's RGB combine with up to three sources, each taken as its colour; the alpha comes
// through from source `alpha`.
void SetStage(GLenum combine, GLenum source0, GLenum source1, GLenum source2, GLenum alpha) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, static_cast<GLint>(combine));
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_EXT, static_cast<GLint>(source0));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_EXT, static_cast<GLint>(source1));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_EXT, static_cast<GLint>(source2));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_EXT, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_EXT, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_EXT, static_cast<GLint>(alpha));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_EXT, GL_SRC_ALPHA);
}

}  // namespace

bool CausticWallStagesAvailable() { return CombinerStagesAvailable(3); }

void EmitTriangles(const Mesh& mesh, const std::vector<int>& triangles, bool forStages) {
    glBegin(GL_TRIANGLES);
    for (int t : triangles) {
        for (int k = 0; k < 3; ++k) {
            const MeshVertex& v = mesh.vertices[mesh.indices[3 * t + k]];
            if (forStages) {
                ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, v.s, v.t);
                ext::glMultiTexCoord2fARB(TextureUnit(2), v.s, v.t);
            } else {
                glTexCoord2f(v.s, v.t);
            }
            glNormal3f(v.nx, v.ny, v.nz);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
}

void BeginCausticWalls(GLuint caustic, GLuint walls, const float colour[3]) {
    const GLfloat constant[4] = {colour[0], colour[1], colour[2], 1.0f};
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, caustic);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
    SetStage(GL_MODULATE, GL_TEXTURE, GL_CONSTANT_EXT, GL_CONSTANT_EXT, GL_PRIMARY_COLOR_EXT);
    // The square reads only what came before; the stage needs a texture bound to be on.
    ext::glActiveTextureARB(TextureUnit(1));
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, caustic);
    SetStage(GL_MODULATE, GL_PREVIOUS_EXT, GL_PREVIOUS_EXT, GL_CONSTANT_EXT, GL_PREVIOUS_EXT);
    ext::glActiveTextureARB(TextureUnit(2));
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, walls);
    // walls × primary colour + the squared caustic: source 0 × source 2 + source 1.
    SetStage(GL_MODULATE_ADD_ATI, GL_TEXTURE, GL_PREVIOUS_EXT, GL_PRIMARY_COLOR_EXT, GL_PREVIOUS_EXT);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void EndCausticWalls() {
    ResetStage(2);
    ResetStage(1);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    ResetCombiner();
}
