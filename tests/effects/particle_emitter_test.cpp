// The particle emitter: the spray's speed and cone, life and brightness at their boundaries,
// the step that frees a slot, a full pool, reseeding from the tick count, and the attractor.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/particle_emitter.h"
#include "platform/random.h"
#include "platform/tick.h"

namespace {

int ActiveCount(const ParticleEmitter& emitter) {
    int count = 0;
    for (int k = 0; k < emitter.n; ++k) count += emitter.particles[k].active;
    return count;
}

}  // namespace

TEST(ParticleEmitter, StartsInactiveAndSpraysDownInACone) {
    ParticleEmitter emitter(40);
    EXPECT_EQ(ActiveCount(emitter), 0);
    EXPECT_FLOAT_EQ(emitter.attractor.y, 0.75f);
    EXPECT_FLOAT_EQ(emitter.pull, 0.0004f);
    for (int k = 0; k < 40; ++k) {
        emitter.Emit();
        ASSERT_EQ(ActiveCount(emitter), k + 1) << "one particle per call, the first free one";
        const Particle& p = emitter.particles[k];
        EXPECT_EQ(p.x, 0.0f);
        EXPECT_FLOAT_EQ(p.life, 40.0f);
        EXPECT_FLOAT_EQ(p.brightness, 1.0f);
        const float speed = std::sqrt(p.vx * p.vx + p.vy * p.vy + p.vz * p.vz);
        EXPECT_NEAR(speed, 0.02f, 1e-6f);
        // Within 28° of straight down.
        EXPECT_LE(std::acos(-p.vy / speed), 28.0f * 3.14f / 180.0f + 1e-4f);
    }
}

TEST(ParticleEmitter, LifeAndBrightnessAcrossAWholeLife) {
    constexpr int n = 140;
    ParticleEmitter emitter(n);
    emitter.Emit();
    const Particle& p = emitter.particles[0];
    float lastY = p.y;
    int moves = 0, checked = 0;
    for (int step = 1; step <= n; ++step) {
        emitter.Animate();
        const float life = static_cast<float>(n - step);
        if (step == n) {
            EXPECT_FALSE(p.active) << "the n-th step deactivates";
            EXPECT_EQ(p.y, lastY) << "and does not move it";
            break;
        }
        ASSERT_TRUE(p.active) << "step " << step;
        EXPECT_FLOAT_EQ(p.life, life);
        if (p.y != lastY) ++moves;
        lastY = p.y;
        float expected = -1.0f;   // no check at this step
        if (life == 40.0f || life == n - 30.0f || life == 70.0f) expected = 1.0f;
        if (life == 1.0f) expected = 1.0f / 40.0f;
        if (life == 39.0f) expected = 39.0f / 40.0f;
        if (life == n - 1.0f) expected = 1.0f / 30.0f;   // fades in from the first step
        if (expected >= 0.0f) {
            EXPECT_FLOAT_EQ(p.brightness, expected) << "life " << life;
            ++checked;
        }
    }
    EXPECT_EQ(moves, n - 1);
    EXPECT_EQ(checked, 6);
    // The slot is free again in the step its life ran out: the next Emit takes slot 0.
    emitter.Emit();
    EXPECT_TRUE(emitter.particles[0].active);
    EXPECT_EQ(ActiveCount(emitter), 1);
}

TEST(ParticleEmitter, TheFountainFallsAndClimbsBackTowardsTheAttractor) {
    ParticleEmitter emitter(140);
    emitter.Emit();
    Particle& p = emitter.particles[0];
    float lowest = 0.0f;
    for (int step = 0; step < 138; ++step) {
        emitter.Animate();
        lowest = std::min(lowest, p.y);
    }
    EXPECT_LT(lowest, -0.3f);
    EXPECT_GT(p.y, lowest + 0.3f) << "the pull turns the particle back up";
}

TEST(ParticleEmitter, AFullPoolStillCountsDownAndReseedsFromTheTickCount) {
    ParticleEmitter emitter(3);
    for (int k = 0; k < 3; ++k) emitter.Emit();
    ASSERT_EQ(ActiveCount(emitter), 3);
    const Particle before = emitter.particles[2];

    platform::UseVirtualClock(0x12345678u);
    platform::SRand(99);
    const int left = EmitsBeforeReseed();
    ASSERT_GE(left, 0);
    ASSERT_LE(left, 50);
    for (int k = 0; k < left; ++k) emitter.Emit();
    EXPECT_EQ(EmitsBeforeReseed(), 0);
    EXPECT_EQ(ActiveCount(emitter), 3);
    EXPECT_EQ(emitter.particles[2].vx, before.vx) << "nothing is activated or changed";
    emitter.Emit();   // the counter drops below zero: reseed with the low 16 bits of the tick
    EXPECT_EQ(EmitsBeforeReseed(), 50);
    const int afterReseed = platform::Rand();
    platform::SRand(0x5678u);
    EXPECT_EQ(afterReseed, platform::Rand());
    platform::UseLiveClock();
}

TEST(ParticleEmitter, AParticleAtTheAttractorCoastsWithoutNaN) {
    ParticleEmitter emitter(140);
    emitter.Emit();
    Particle& p = emitter.particles[0];
    p.x = emitter.attractor.x;
    p.y = emitter.attractor.y;
    p.z = emitter.attractor.z;
    p.vx = 0.001f, p.vy = 0.0f, p.vz = 0.0f;
    emitter.Animate();
    EXPECT_FLOAT_EQ(p.vx, 0.001f);
    EXPECT_EQ(p.vy, 0.0f);
    EXPECT_FLOAT_EQ(p.x, 0.001f);
    EXPECT_FLOAT_EQ(p.y, 0.75f);
    emitter.Animate();   // now off the point: pulled back by exactly `pull`
    EXPECT_NEAR(p.vx, 0.001f - 0.0004f, 1e-7f);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
}
