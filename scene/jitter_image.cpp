// scene/jitter_image.cpp — brightness phases, random offsets and the textured strip.
#include "scene/jitter_image.h"

#include "platform/random.h"

JitterImage::JitterImage(GLuint* slot) : textureSlot(slot) {}

void JitterImage::SetRect(int rectLeft, int rectBottom, int rectRight, int rectTop) {
    left = rectLeft;
    bottom = rectBottom;
    right = rectRight;
    top = rectTop;
}

bool JitterImage::Advance(float step) {
    brightness = 1.0f;
    Jitter(step);
    return true;
}

bool JitterImage::AdvanceFadeIn(float step) {
    brightness += step / fadeInLength;
    if (brightness > 1.0f) brightness = 1.0f;
    Jitter(step);
    return true;
}

bool JitterImage::AdvanceFadeOut(float step) {
    brightness -= step / fadeOutLength;
    if (brightness < 0.0f) brightness = 0.0f;
    Jitter(step);
    return true;
}

void JitterImage::Jitter(float step) {
    jitterTimer -= step;
    if (jitterTimer >= 0.0f) return;
    // The order of the draws is part of the program-wide random sequence.
    if (jitterHorizontal) {
        xJitter = platform::Rand() % 16 - 8;
        widthJitter = platform::Rand() % 32 - 16;
    }
    if (jitterVertical) {
        yJitter = platform::Rand() % 16 - 8;
        heightJitter = platform::Rand() % 32 - 16;
    }
    // Set rather than added: the next jump comes a full 0.1 s of frames later.
    jitterTimer = 0.1f;
}

bool JitterImage::Draw() {
    glColor3f(brightness, brightness, brightness);
    glBindTexture(GL_TEXTURE_2D, *textureSlot);
    const int x0 = left + xJitter, x1 = right + widthJitter + xJitter;
    const int y0 = bottom + yJitter, y1 = top + heightJitter + yJitter;
    // The coordinates stop short of the edges so repeat wrapping never blends in the opposite edge.
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.01f, 0.01f);
    glVertex2i(x0, y0);
    glTexCoord2f(0.01f, 0.99f);
    glVertex2i(x0, y1);
    glTexCoord2f(0.99f, 0.01f);
    glVertex2i(x1, y0);
    glTexCoord2f(0.99f, 0.99f);
    glVertex2i(x1, y1);
    glEnd();
    return true;
}

bool JitterImage::DrawFadeIn() { return Draw(); }
