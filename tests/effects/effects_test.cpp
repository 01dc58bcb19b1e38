// What needs no GL: particle storage and its limit, the effects' creation order, DegToRad. The start-up
// objects: with the camera's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numbers>

#include "base/failure_trap.h"
#include "effects/effects.h"

namespace {

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

TEST(ParticleSystem, StoresAnyCountUpTo5000InTheFullCapacityAllZero) {
  for (std::int32_t count : {5000, 0, -7, 1}) {
    const auto system = std::make_unique<ParticleSystem>(count);
    EXPECT_EQ(system->count, count);
    EXPECT_EQ(system->particles.size(), 5001u);
    EXPECT_TRUE(std::all_of(system->particles.begin(), system->particles.end(),
                            [](const Particle& p) { return p == Particle{}; }))
        << "record 0 and records past count too";
  }
}

TEST(Effects, TooManyParticlesAndEffectsBeforeThePipelineAreFatal) {
  EXPECT_EQ(FatalOf([] { ParticleSystem{5001}; }), "zenParticle: Too many Particles initialized");
  ASSERT_FALSE(zenOverlayFX::pipelineSet);
  EXPECT_EQ(FatalOf(InitFX), "zenOverlayFX: Rendering Pipeline was not set when FX were initialized");
  EXPECT_EQ(zenOverlayFX::fx, nullptr);
}

TEST(DegToRad, IsExactToDoublePrecision) {
  EXPECT_EQ(DegToRad(180), std::numbers::pi);
  EXPECT_EQ(DegToRad(-360), -2 * std::numbers::pi);
  EXPECT_DOUBLE_EQ(DegToRad(45), std::numbers::pi / 4);
}

}  // namespace
