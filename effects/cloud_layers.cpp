// effects/cloud_layers.cpp — the drifting stack of cloud layers.
#include "effects/cloud_layers.h"

CloudDrift cloudDrift;

namespace {

// Texture ranges of the layers from the top down: each shows the clouds at another scale and
// offset, so the sheets do not line up.
struct LayerRange {
    float s0, s1, t0, t1;
};
constexpr LayerRange kLayers[7] = {
    {0.0f, 2.0f, 0.0f, 2.0f},     {0.5f, 1.0f, 0.5f, 1.0f}, {0.25f, 1.25f, 0.25f, 1.25f},
    {0.33f, 2.0f, 0.33f, 2.0f},   {0.2f, 4.1f, 0.2f, 4.1f}, {0.3f, 3.1f, 0.3f, 3.1f},
    {0.4f, 0.91f, 0.4f, 0.91f},
};

}  // namespace

void DrawCloudLayers(GLuint texture, float frameTime) {
    float& cloudScroll = cloudDrift.scroll;
    cloudScroll += 0.025f * frameTime;
    if (cloudScroll > 1.0f) cloudScroll -= 1.0f;

    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(cloudScroll, 0.0f, 0.0f);
    glColor3f(0.75f, 0.75f, 0.75f);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(0.0f, 0.5f, 0.0f);
    DrawCloudLayer(texture, kLayers[0].s0, kLayers[0].s1, kLayers[0].t0, kLayers[0].t1);
    for (int i = 1; i < 7; ++i) {
        glTranslatef(0.0f, -0.55f, 0.0f);
        DrawCloudLayer(texture, kLayers[i].s0, kLayers[i].s1, kLayers[i].t0, kLayers[i].t1);
    }
    glPopMatrix();

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void DrawCloudLayer(GLuint texture, float s0, float s1, float t0, float t1) {
    constexpr float kCell = 40.0f / 3.0f;
    const float ds = (s1 - s0) / 3.0f, dt = (t1 - t0) / 3.0f;
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int r = 0; r < 3; ++r) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int c = 0; c <= 3; ++c) {
            const float x = -20.0f + kCell * c;
            const bool sideColumn = c == 0 || c == 3;
            const float lower = sideColumn || r == 0 ? 0.0f : 0.75f;
            glColor3f(lower, lower, lower);
            glTexCoord2f(s0 + ds * c, t0 + dt * r);
            glVertex3f(x, 0.0f, -20.0f + kCell * r);
            const float upper = sideColumn || r == 2 ? 0.0f : 0.75f;
            glColor3f(upper, upper, upper);
            glTexCoord2f(s0 + ds * c, t0 + dt * (r + 1));
            glVertex3f(x, 0.0f, -20.0f + kCell * (r + 1));
        }
        glEnd();
    }
}
