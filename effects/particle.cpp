#include "effects/effects.h"

#include "base/diagnostics.h"

ParticleSystem::ParticleSystem(std::int32_t count_) {
  if (count_ > kMaxParticles) FatalError(kParticleModule, "Too many Particles initialized");
  count = count_;
}
