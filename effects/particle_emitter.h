// effects/particle_emitter.h — a fixed pool of glowing quads sprayed downwards from a point and
// pulled back up towards an attractor above it.
#pragma once

#include <cstdint>

struct Particle {
    float x, y, z;      // relative to the emitter
    float vx, vy, vz;   // per step
    float life;         // steps left
    float brightness;   // 0..1
    std::uint8_t active;
};

// The reseeding count shared by every emitter; one copy for the whole run, never reset.
struct ParticleReseed {
    int countdown = 50;   // Emit calls left before the generator is reseeded from the tick count
};
extern ParticleReseed particleReseed;

// Counts in steps, not seconds: the owner calls Emit and Animate once per drawn frame.
class ParticleEmitter {
public:
    explicit ParticleEmitter(int count);
    virtual ~ParticleEmitter();
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // Activates the first free particle, if any, at the origin with a speed of 0.02 in a cone
    // of 28° around straight down. Every call counts towards reseeding the program's generator.
    void Emit();
    // Ages, fades and moves every active particle by one step.
    void Animate();
    // One quad per active particle in the x-y plane; the caller sets texture, blending, depth
    // mask and matrix.
    void DrawParticles() const;

    struct Point {
        float x, y, z;
    };
    Point attractor{0.0f, 0.75f, 0.0f};
    float pull = 0.0004f;
    Particle* particles = nullptr;
    int n = 0;
};

// Emit calls left before the generator is reseeded from the tick count (program-wide).
inline int EmitsBeforeReseed() { return particleReseed.countdown; }
