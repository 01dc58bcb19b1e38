// What needs no GL: particle storage and its limit, the effects' creation order, DegToRad.
#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "base/failure_trap.h"
#include "effects/effects.h"

namespace {

bool AllZero(const ParticleSystem& system) {
  for (const Particle& p : system.particles) {
    if (!(p == Particle{})) return false;
  }
  return true;
}

TEST(ParticleSystem, StoresAnyCountUpTo5000InTheFullCapacityAllZero) {
  for (std::int32_t count : {5000, 0, -7, 1}) {
    auto system = std::make_unique<ParticleSystem>(count);
    EXPECT_EQ(system->count, count);
    EXPECT_EQ(system->particles.size(), 5001u);
    EXPECT_TRUE(AllZero(*system)) << "record 0 and records past count too";
  }
}

// Runs `make` and returns the fatal error it raised.
template <typename Make>
std::string FatalOf(Make make) {
  FailureTrap trap;
  try {
    make();
  } catch (const FatalErrorRaised& error) {
    return error.module + ": " + error.message;
  }
  return "";
}

TEST(Effects, TooManyParticlesAndEffectsBeforeThePipelineAreFatal) {
  EXPECT_EQ(FatalOf([] { ParticleSystem{5001}; }), "zenParticle: Too many Particles initialized");
  ASSERT_FALSE(zenOverlayFX::pipelineSet);
  EXPECT_EQ(FatalOf(InitFX), "zenOverlayFX: Rendering Pipeline was not set when FX were initialized");
  EXPECT_EQ(zenOverlayFX::fx, nullptr);
}

TEST(ParticleSystem, StartupCreatesTwoSystemsOf200AndShutdownEmptiesTheSlots) {
  CreateStartupParticleSystems();
  ASSERT_NE(sharedParticles1, nullptr);
  ASSERT_NE(sharedParticles2, nullptr);
  EXPECT_NE(sharedParticles1, sharedParticles2);
  EXPECT_EQ(sharedParticles1->count, 200);
  EXPECT_EQ(sharedParticles2->count, 200);
  // The other slots are still empty, so their releases make no GL call.
  DestroySharedEffectsObjects();
  EXPECT_EQ(sharedParticles1, nullptr);
  EXPECT_EQ(sharedParticles2, nullptr);
}

TEST(DegToRad, IsExactToDoublePrecision) {
  EXPECT_EQ(DegToRad(180), std::numbers::pi);
  EXPECT_EQ(DegToRad(90), std::numbers::pi / 2);
  EXPECT_EQ(DegToRad(-360), -2 * std::numbers::pi);
  EXPECT_EQ(DegToRad(0), 0.0);
  EXPECT_DOUBLE_EQ(DegToRad(45), std::numbers::pi / 4);
}

}  // namespace
