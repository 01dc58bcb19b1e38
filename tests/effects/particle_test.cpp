// Particle storage, the start-up order of the effects unit, and DegToRad: nothing here needs GL.
#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "effects/camera.h"
#include "effects/overlay_fx.h"
#include "effects/particle.h"
#include "effects/shared_objects.h"
#include "base/failure_trap.h"

namespace {

bool AllZero(const ParticleSystem& system) {
  for (const Particle& p : system.particles) {
    if (p.x != 0.0f || p.y != 0.0f || p.z != 0.0f) return false;
    for (float value : p.extra) {
      if (value != 0.0f) return false;
    }
  }
  return true;
}

TEST(ParticleSystem, AcceptsUpTo5000AndStartsAllZero) {
  auto full = std::make_unique<ParticleSystem>(5000);
  EXPECT_EQ(full->count, 5000);
  EXPECT_EQ(full->particles.size(), 5001u);
  EXPECT_TRUE(AllZero(*full)) << "record 0 and records past count too";

  // Whatever the count, the capacity is the same and nothing is checked below the limit.
  for (std::int32_t count : {0, -7, 1}) {
    auto small = std::make_unique<ParticleSystem>(count);
    EXPECT_EQ(small->count, count);
    EXPECT_EQ(small->particles.size(), 5001u);
    EXPECT_TRUE(AllZero(*small));
  }
}

TEST(ParticleSystem, MoreThan5000IsFatal) {
  FailureTrap trap;
  try {
    auto system = std::make_unique<ParticleSystem>(5001);
    ADD_FAILURE() << "5001 particles accepted";
  } catch (const FatalErrorRaised& error) {
    EXPECT_EQ(error.module, "zenParticle");
    EXPECT_EQ(error.message, "Too many Particles initialized");
  }
}

TEST(ParticleSystem, StartupCreatesTwoSystemsOf200AndShutdownEmptiesTheSlots) {
  CreateStartupParticleSystems();
  ASSERT_NE(particleSystem1, nullptr);
  ASSERT_NE(particleSystem2, nullptr);
  EXPECT_NE(particleSystem1, particleSystem2);
  EXPECT_EQ(particleSystem1->count, 200);
  EXPECT_EQ(particleSystem2->count, 200);
  EXPECT_TRUE(AllZero(*particleSystem1));
  // The other slots are still empty, so their releases make no GL call.
  DestroySharedEffectsObjects();
  EXPECT_EQ(particleSystem1, nullptr);
  EXPECT_EQ(particleSystem2, nullptr);
}

TEST(OverlayFX, InitFXBeforeInitPipelineIsFatal) {
  ASSERT_FALSE(pipelineSet);
  FailureTrap trap;
  try {
    InitFX();
    ADD_FAILURE() << "effects created without a pipeline";
  } catch (const FatalErrorRaised& error) {
    EXPECT_EQ(error.module, "zenOverlayFX");
    EXPECT_EQ(error.message, "Rendering Pipeline was not set when FX were initialized");
  }
  EXPECT_EQ(fx, nullptr);
}

TEST(DegToRad, IsExactToDoublePrecision) {
  EXPECT_EQ(DegToRad(180), std::numbers::pi);
  EXPECT_EQ(DegToRad(90), std::numbers::pi / 2);
  EXPECT_EQ(DegToRad(-360), -2 * std::numbers::pi);
  EXPECT_EQ(DegToRad(0), 0.0);
  EXPECT_DOUBLE_EQ(DegToRad(45), std::numbers::pi / 4);
}

}  // namespace
