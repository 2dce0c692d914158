// Our OpenGL 1.x layer over OpenGL ES against the desktop driver, state by state: the same
// drawing code runs through the GL table on a desktop context and then on an ES context with
// the layer installed, and the pictures must agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gl_layers/gles_layer.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "support/gl_test_context.h"

#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#endif

namespace {

using Scenario = std::function<void()>;

struct Picture {
    std::vector<std::uint8_t> rgb;
    float depth[3] = {};
};

// The sample points of the depth read-back.
const int kDepthPoints[3][2] = {{320, 240}, {100, 400}, {600, 20}};

bool Open(bool gles) {
    platform::WindowOptions options;
    options.fullScreen = false;
    options.headless = true;
    options.openGLES = gles;
    if (gles) options.installLayer = gl_layers::InstallGlesLayer;
    platform::WindowError error;
    if (!platform::OpenWindow(options, error)) {
        std::fprintf(stderr, "no context: %s\n", error.message.c_str());
        return false;
    }
    glViewport(0, 0, 640, 480);
    return true;
}

// A 64 × 64 texture of coloured checks with an alpha ramp, or its luminance.
GLuint MakeTexture(GLenum format) {
    std::vector<std::uint8_t> texels;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool check = ((x / 8) + (y / 8)) % 2 != 0;
            const std::uint8_t rgba[4] = {static_cast<std::uint8_t>(check ? 230 : 40), static_cast<std::uint8_t>(x * 4),
                                          static_cast<std::uint8_t>(y * 4), static_cast<std::uint8_t>(x * 4)};
            texels.insert(texels.end(), rgba, rgba + (format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 1));
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 1, 64, 64, format,
                      GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

void Perspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 640.0 / 480.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Quad(float size, float z) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-size, -size, z);
    glTexCoord2f(2, 0), glVertex3f(size, -size, z);
    glTexCoord2f(2, 2), glVertex3f(size, size, z);
    glTexCoord2f(0, 2), glVertex3f(-size, size, z);
    glEnd();
}

// Two attenuated lights on a sphere and a tilted floor, with materials.
void Lights() {
    Perspective();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_NORMALIZE);
    const GLfloat diffuse[4] = {1.0f, 0.9f, 0.2f, 0.55f}, ambient[4] = {0.1f, 0.1f, 0.3f, 1.0f};
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_AMBIENT, ambient);
        glLightf(light, GL_QUADRATIC_ATTENUATION, 0.02f);
    }
    const GLfloat p0[4] = {-3, 2, -4, 1}, p1[4] = {3, -1, -12, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, p0);
    glLightfv(GL_LIGHT1, GL_POSITION, p1);
    const GLfloat material[4] = {0.8f, 0.7f, 1.0f, 0.5f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, material);
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    glTranslatef(0, 0, -8);
    glScalef(1.5f, 1.5f, 1.5f);   // normals need renormalising
    gluSphere(quadric, 2.0, 24, 16);
    glLoadIdentity();
    glRotatef(-70, 1, 0, 0);
    glNormal3f(0, 0, 1);
    Quad(20, -4);
}

// Linear fog over a textured floor running into the distance, a flat-shaded quad and polygon on
// top.
void Fog() {
    Perspective();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, MakeTexture(GL_RGB));
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat colour[4] = {0.6f, 0.6f, 1.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_START, 5.0f);
    glFogf(GL_FOG_END, 30.0f);
    glRotatef(-80, 1, 0, 0);
    glColor3f(1, 1, 1);
    Quad(40, -3);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0), glVertex3f(-2, -2, -6);
    glColor3f(0, 1, 0), glVertex3f(2, -2, -6);
    glColor3f(0, 0, 1), glVertex3f(2, 2, -12);
    glColor3f(1, 1, 0), glVertex3f(-2, 2, -6);
    glEnd();
    glBegin(GL_POLYGON);   // GL gives a flat polygon the colour of its first vertex
    for (int i = 0; i < 6; ++i) {
        const float angle = 1.047f * i;
        glColor3f(i % 2 ? 1.0f : 0.2f, i % 3 ? 0.3f : 0.9f, 0.15f * i);
        glVertex3f(-4 + 1.5f * std::cos(angle), 2.5f + 1.5f * std::sin(angle), -9);
    }
    glEnd();
}

// Sphere-mapped spheres turned about two axes, one through a texture matrix.
void SphereMap() {
    Perspective();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, MakeTexture(GL_RGB));
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    glTranslatef(-2.5f, 0, -9);
    glRotatef(40, 1, 1, 0);
    gluSphere(quadric, 2.0, 32, 32);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(0.25f, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(2.5f, 0, -9);
    gluSphere(quadric, 2.0, 32, 32);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

// Every combiner function over two units, tinted by constant colours, in a row of quads.
void Combiners() {
    PFNGLACTIVETEXTUREARBPROC active = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC coord = nullptr;
    platform::FindGLProc(active, "glActiveTextureARB");
    platform::FindGLProc(coord, "glMultiTexCoord2fARB");
    ASSERT_TRUE(active && coord);
    const GLuint checks = MakeTexture(GL_RGBA), grey = MakeTexture(GL_LUMINANCE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLenum functions[] = {GL_REPLACE, GL_MODULATE, GL_ADD, GL_ADD_SIGNED_EXT, GL_INTERPOLATE_EXT,
                                GL_SUBTRACT_ARB, GL_DOT3_RGB_EXT, GL_MODULATE_ADD_ATI, GL_MODULATE, GL_ADD};
    const GLenum modes[] = {GL_COMBINE_EXT, GL_COMBINE_EXT, GL_COMBINE_EXT, GL_COMBINE_EXT, GL_COMBINE_EXT,
                            GL_COMBINE_EXT, GL_COMBINE_EXT, GL_COMBINE_EXT, GL_DECAL, GL_BLEND};
    for (int i = 0; i < 10; ++i) {
        active(GL_TEXTURE0_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, checks);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, i % 2 ? GL_MODULATE : GL_REPLACE);
        active(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, grey);
        const GLfloat constant[4] = {0.2f + 0.08f * i, 0.9f - 0.05f * i, 0.4f, 0.6f};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, modes[i]);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, functions[i]);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_EXT, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_EXT, i % 3 ? GL_SRC_COLOR : GL_ONE_MINUS_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_EXT, i % 2 ? GL_PREVIOUS_EXT : GL_PRIMARY_COLOR_EXT);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_EXT, i == 4 ? GL_SRC_ALPHA : GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_EXT, GL_CONSTANT_EXT);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_EXT, i == 4 ? GL_SRC_ALPHA : GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_EXT, i % 2 ? GL_MODULATE : GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_EXT, GL_PREVIOUS_EXT);
        glTexEnvi(GL_TEXTURE_ENV, GL_RGB_SCALE_EXT, i == 2 ? 2 : 1);
        glColor4f(0.9f, 0.5f - 0.04f * i, 0.1f * i, 0.8f);
        const float x = 64.0f * i;
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < 4; ++k) {
            const float u = static_cast<float>(k / 2), v = static_cast<float>(k % 2);
            coord(GL_TEXTURE0_ARB, u, v);
            coord(GL_TEXTURE1_ARB, v * 2, u);
            glVertex2f(x + 60 * u, 20 + 440 * v);
        }
        glEnd();
    }
    active(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    active(GL_TEXTURE0_ARB);
}

// A display list compiled once and replayed under other matrices, colours left by the list,
// attribute push and pop around blending, alpha test and culling, then a bitmap and pixels.
void ListsAndAttributes() {
    Perspective();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= 8; ++i) {
        glColor4f(i / 8.0f, 1.0f - i / 8.0f, 0.5f, i / 8.0f);
        glVertex3f(-2.0f + 0.5f * i, -1, 0);
        glVertex3f(-2.0f + 0.5f * i, 1, 0.3f * (i % 2));
    }
    glEnd();
    glEndList();
    glColor3f(0.2f, 0.2f, 0.9f);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.3f);
    for (int k = 0; k < 4; ++k) {
        glPushMatrix();
        glTranslatef(-2.5f + 1.7f * k, 1.5f - k, -8 - k);
        glRotatef(35.0f * k, 0.3f, 1, 0.2f);
        glCallList(list);
        glPopMatrix();
    }
    glPopAttrib();
    // The list leaves its last colour current; blending and the alpha test are off again.
    glBegin(GL_TRIANGLES);
    glVertex3f(-1, -3, -7), glVertex3f(1, -3, -7), glVertex3f(0, -2, -7);
    glEnd();
    glDeleteLists(list, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    static const GLubyte bits[8] = {0x18, 0x3C, 0x7E, 0xFF, 0xFF, 0x7E, 0x3C, 0x18};
    glColor3f(1, 1, 0);
    glRasterPos2i(20, 30);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);   // one byte a row
    for (int i = 0; i < 5; ++i) glBitmap(8, 8, 0, 0, 10, 2, bits);
    std::vector<GLubyte> pixels(30 * 20 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<GLubyte>(i * 7);
    glRasterPos2i(500, 400);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(2, 2);
    glDrawPixels(30, 20, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelZoom(1, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

// A list that sets its own light, material, fog, texture and texture generation and draws client
// arrays, compiled while other values are in force and before the arrays change: the draw
// before the replay keeps the values in force, the replay draws the arrays as they were when
// compiled, and the values the list set stay for the draw after it.
void ListsOfStateAndArrays() {
    Perspective();
    glEnable(GL_DEPTH_TEST);
    const GLuint checks = MakeTexture(GL_RGB), grey = MakeTexture(GL_LUMINANCE);
    const GLfloat white[4] = {1, 1, 1, 1}, orange[4] = {1.0f, 0.5f, 0.1f, 1}, teal[4] = {0.2f, 0.9f, 0.8f, 1};
    const GLfloat haze[4] = {0.5f, 0.5f, 0.7f, 1};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, haze);
    glFogf(GL_FOG_START, 5);
    glFogf(GL_FOG_END, 40);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, checks);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    std::vector<GLfloat> positions, normals;
    for (int i = 0; i < 4; ++i) {   // four quads side by side, turned this way and that
        const float x0 = -2.0f + i, x1 = x0 + 1, z = 0.4f * (i % 2);
        for (float p : {x0, -1.5f, 0.0f, x1, -1.5f, z, x1, 1.5f, z, x0, 1.5f, 0.0f}) positions.push_back(p);
        for (int k = 0; k < 4; ++k)
            for (float n : {0.3f * (i - 1.5f), 0.2f, 1.0f}) normals.push_back(n);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, orange);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, teal);
    glFogf(GL_FOG_END, 14);
    glBindTexture(GL_TEXTURE_2D, grey);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glDrawArrays(GL_QUADS, 0, 16);
    glEndList();
    for (std::size_t i = 1; i < positions.size(); i += 3) positions[i] *= 0.5f;
    glTranslatef(-3.5f, 0, -9);
    glDrawArrays(GL_QUADS, 0, 16);
    glLoadIdentity();
    glTranslatef(0, 0, -11);
    glRotatef(25, 1, 1, 0);
    glCallList(list);
    glLoadIdentity();
    glTranslatef(3.5f, 0, -9);
    glDrawArrays(GL_QUADS, 0, 16);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDeleteLists(list, 1);
}

// Writes a picture beside the build for a look at a failure.
void Keep(const std::string& name, const std::vector<std::uint8_t>& rgb) {
    std::ofstream out(std::string(UNDERTOW_BINARY_DIR) + "/gles-" + name + ".ppm", std::ios::binary);
    out << "P6\n640 480\n255\n";
    for (int y = 479; y >= 0; --y) out.write(reinterpret_cast<const char*>(&rgb[static_cast<std::size_t>(y) * 640 * 3]), 640 * 3);
}

Picture Draw(const Scenario& scenario) {
    glClearColor(0.1f, 0.1f, 0.1f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scenario();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    Picture picture;
    picture.rgb = testing_support::ReadFrame();
    for (int i = 0; i < 3; ++i)
        glReadPixels(kDepthPoints[i][0], kDepthPoints[i][1], 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &picture.depth[i]);
    return picture;
}

// Draws `scenario` on both paths, each in a fresh context, and compares them.
void Compare(const char* name, const Scenario& scenario) {
    ASSERT_TRUE(Open(false));
    const Picture desktop = Draw(scenario);
    platform::CloseWindow();
    ASSERT_TRUE(Open(true));
    ASSERT_TRUE(gl_layers::GlesLayerInstalled());
    const Picture layer = Draw(scenario);
    platform::CloseWindow();
    ASSERT_FALSE(gl_layers::GlesLayerInstalled());

    long long sum = 0, far = 0, drawn = 0;
    for (std::size_t i = 0; i < desktop.rgb.size(); i += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(desktop.rgb[i + c] - layer.rgb[i + c]);
            sum += d;
            worst = std::max(worst, d);
        }
        far += worst > 16;
        drawn += std::abs(desktop.rgb[i] - 26) > 2 || std::abs(desktop.rgb[i + 1] - 26) > 2;
    }
    const double pixels = static_cast<double>(desktop.rgb.size() / 3);
    EXPECT_GT(drawn / pixels, 0.05) << name << ": the scenario draws next to nothing";
    EXPECT_LE(sum / (3 * pixels), 0.5) << name;
    EXPECT_LE(far / pixels, 0.002) << name;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(desktop.depth[i], layer.depth[i], 1e-5) << name << " depth " << i;
    if (!testing::Test::HasFailure()) return;
    Keep(std::string(name) + "-desktop", desktop.rgb);
    Keep(std::string(name) + "-layer", layer.rgb);
}

}  // namespace

TEST(GlesLayer, LightsAttenuationAndMaterials) { Compare("lights", Lights); }

TEST(GlesLayer, LinearFogAndFlatQuads) { Compare("fog", Fog); }

TEST(GlesLayer, SphereMapsAndTextureMatrices) { Compare("sphere map", SphereMap); }

TEST(GlesLayer, EveryCombinerFunctionAndEnvironment) { Compare("combiners", Combiners); }

TEST(GlesLayer, ListsUnderOtherMatricesAttributesBitmapsAndPixels) { Compare("lists", ListsAndAttributes); }

TEST(GlesLayer, ListsKeepTheirStateCallsAndArraysAsCompiled) { Compare("list state", ListsOfStateAndArrays); }
