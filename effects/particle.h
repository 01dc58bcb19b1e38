// ParticleSystem, module "zenParticle": fixed-capacity storage of particle records that scenes fill
// and read. The system neither moves nor draws particles.
#pragma once

#include <array>
#include <cstdint>

inline constexpr const char* kParticleModule = "zenParticle";
inline constexpr std::int32_t kMaxParticles = 5000;

// Fourteen single-precision values: the position, then eleven that the engine carries but never
// interprets.
struct Particle {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  std::array<float, 11> extra{};
};
static_assert(sizeof(Particle) == 14 * sizeof(float));

struct ParticleSystem {
  // Stores `count` (zero and negative counts too); above 5000 it is the fatal error
  // ("zenParticle", "Too many Particles initialized"). Every record starts at 0.0.
  explicit ParticleSystem(std::int32_t count);

  std::int32_t count = 0;
  // The full capacity whatever `count` is; scenes use records 1 to `count`, record 0 stays unused.
  std::array<Particle, kMaxParticles + 1> particles{};
};
