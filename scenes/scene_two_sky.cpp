// scenes/scene_two_sky.cpp — scene two's sky sphere: the tiled stars with the untiled layer
// added over them, in two passes or, where the driver can, in one.
#include "app/extensions.h"
#include "app/settings.h"
#include "gl_layers/vertex_program.h"
#include "scenes/scene_two.h"

namespace {

// Passes the position as the fixed pipeline makes it; unit 0's coordinates go through its
// texture matrix, and unit 1 gets the sphere's own coordinates as they are, which is what the
// second pass reads through an identity texture matrix.
const char kSkyProgram[] =
    "!!ARBvp1.0\n"
    "OPTION ARB_position_invariant;\n"
    "PARAM texture0[4] = { state.matrix.texture[0] };\n"
    "DP4 result.texcoord[0].x, texture0[0], vertex.texcoord[0];\n"
    "DP4 result.texcoord[0].y, texture0[1], vertex.texcoord[0];\n"
    "DP4 result.texcoord[0].z, texture0[2], vertex.texcoord[0];\n"
    "DP4 result.texcoord[0].w, texture0[3], vertex.texcoord[0];\n"
    "MOV result.texcoord[1], vertex.texcoord[0];\n"
    "MOV result.color, vertex.color;\n"
    "END\n";

}  // namespace

void SceneTwo::PrepareSkyInOnePass() {
    const bool possible = skyInOnePass && settings.useMultitexture && ext::glActiveTextureARB &&
                          IsExtensionSupported("GL_ARB_vertex_program");
    skyProgram = possible ? gl_layers::CompileVertexProgram(kSkyProgram, "sky") : 0;
}

void SceneTwo::ReleaseSkyInOnePass() {
    gl_layers::DeleteVertexProgram(skyProgram);
    skyProgram = 0;
}

void SceneTwo::DrawSky() {
    // The sky sphere faces inward and is wound for GL_CCW. Left at the cubes' GL_CW from the
    // frame before, every sky polygon would be culled and the stars would vanish after the
    // scene's first frame.
    glFrontFace(GL_CCW);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (skyProgram != 0) {
        DrawSkyInOnePass();
        return;
    }
    glMatrixMode(GL_TEXTURE);
    glScalef(2.0f, 2.0f, 2.0f);
    gluSphere(skyQuadric, 48.0, sphereDetail, sphereDetail);
    // Second layer of stars, untiled, added on top.
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, textures[3]);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    gluSphere(skyQuadric, 48.0, sphereDetail, sphereDetail);
    glDisable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glEnable(GL_DEPTH_TEST);
}


// Both layers in one pass: unit 1 adds the untiled stars to unit 0's tiled ones. The sum of the
// two non-negative terms saturates as the additive second pass does. Leaves the state the two
// passes leave: blending off with (GL_ONE, GL_ONE), unit 0's texture matrix the identity.
void SceneTwo::DrawSkyInOnePass() {
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glMatrixMode(GL_TEXTURE);
    glScalef(2.0f, 2.0f, 2.0f);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    GLint unitOneTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &unitOneTexture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[3]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    gl_layers::UseVertexProgram(skyProgram);
    gluSphere(skyQuadric, 48.0, sphereDetail, sphereDetail);
    gl_layers::UseVertexProgram(0);
    glLoadIdentity();
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(unitOneTexture));
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glBlendFunc(GL_ONE, GL_ONE);
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glEnable(GL_DEPTH_TEST);
}
