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
std::string FatalOf(void (*make)()) {
  const FailureTrap trap;
  try {
    make();
  } catch (const FatalErrorRaised& error) {
    return error.module + ": " + error.message;
  }
  return "";
}

TEST(Effects, ParticlesUpTo5000AreStoredAllZeroMoreAndEffectsBeforeThePipelineAreFatal) {
  for (std::int32_t count : {5000, 0, -7, 1}) {
    const auto system = std::make_unique<ParticleSystem>(count);
    EXPECT_EQ(std::pair(system->count, system->particles.size()), std::pair(count, std::size_t{5001}));
    EXPECT_TRUE(std::all_of(system->particles.begin(), system->particles.end(),
                            [](const Particle& p) { return p == Particle{}; }))
        << "records 0 to 5000";
  }
  EXPECT_EQ(FatalOf([] { ParticleSystem{5001}; }), "zenParticle: Too many Particles initialized");
  ASSERT_FALSE(zenOverlayFX::pipelineSet);
  EXPECT_EQ(FatalOf(InitFX), "zenOverlayFX: Rendering Pipeline was not set when FX were initialized");
  EXPECT_EQ(zenOverlayFX::fx, nullptr);
}

// Rounded once from extended precision: pi / 6 in double arithmetic comes out one step lower.
TEST(DegToRad, IsExactToDoublePrecision) {
  const std::pair<double, double> rows[] = {{180, std::numbers::pi}, {-360, -2 * std::numbers::pi},
                                            {30, 0.52359877559829887307710723054658}};
  for (const auto& [degrees, radians] : rows) EXPECT_EQ(DegToRad(degrees), radians) << degrees;
}

}  // namespace
