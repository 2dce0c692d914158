// effects/particle_emitter.cpp — emitting, moving and drawing the particles.
#include "effects/particle_emitter.h"

#include <cmath>

#include "platform/gl.h"
#include "platform/random.h"
#include "platform/tick.h"

namespace {

// Degrees to radians with 3.14, not pi: the spray's cone is tuned to it.
constexpr float kDegrees = 3.14f / 180.0f;

}  // namespace

// Every 51st Emit of any emitter reseeds the generator.
ParticleReseed particleReseed;

ParticleEmitter::ParticleEmitter(int count) : n(count > 0 ? count : 0) {
    particles = new Particle[static_cast<std::size_t>(n)]();
}

ParticleEmitter::~ParticleEmitter() { delete[] particles; }

void ParticleEmitter::Emit() {
    if (--particleReseed.countdown < 0) {
        platform::SRand(platform::GetTickCount() & 0xFFFFu);
        particleReseed.countdown = 50;
    }
    for (int k = 0; k < n; ++k) {
        Particle& p = particles[k];
        if (p.active) continue;
        p.active = 1;
        p.x = p.y = p.z = 0.0f;
        const float a = (static_cast<float>(platform::Rand() % 5600) * 0.01f - 28.0f) * kDegrees;
        const float speed = 0.02f * std::sin(a);
        p.vy = -0.02f * std::cos(a);
        const float b = static_cast<float>(platform::Rand() % 3600) * 0.1f * kDegrees;
        p.vz = std::sin(b) * speed;
        p.vx = std::cos(b) * speed;
        p.life = static_cast<float>(n);
        p.brightness = 1.0f;
        return;
    }
}

void ParticleEmitter::Animate() {
    const float count = static_cast<float>(n);
    for (int k = 0; k < n; ++k) {
        Particle& p = particles[k];
        if (!p.active) continue;
        p.life -= 1.0f;
        if (p.life <= 0.0f) {
            p.active = 0;
            continue;
        }
        if (p.life <= 40.0f)
            p.brightness = p.life / 40.0f;
        else if (p.life >= count - 30.0f)
            p.brightness = (count - p.life) / 30.0f;
        else
            p.brightness = 1.0f;
        // Exactly at the attractor there is no direction to pull in: the particle coasts.
        const float dx = attractor.x - p.x, dy = attractor.y - p.y, dz = attractor.z - p.z;
        const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (length > 0.0f) {
            const float scale = 1.0f / length;
            p.vx += pull * (dx * scale);
            p.vy += pull * (dy * scale);
            p.vz += pull * (dz * scale);
        }
        p.x += p.vx;
        p.y += p.vy;
        p.z += p.vz;
    }
}

void ParticleEmitter::DrawParticles() const {
    glBegin(GL_QUADS);
    for (int k = 0; k < n; ++k) {
        const Particle& p = particles[k];
        if (!p.active) continue;
        const float b = p.brightness, h = 0.175f * b;
        glColor3f(b, 0.3f * b, 0.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(p.x - h, p.y - h, p.z);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(p.x + h, p.y - h, p.z);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(p.x + h, p.y + h, p.z);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(p.x - h, p.y + h, p.z);
    }
    glEnd();
}
