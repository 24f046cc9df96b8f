#pragma once

#include <cstdint>

// The generator's own pseudo-random numbers (SplitMix64): the same seed
// gives the same stream on every machine and library, unlike rand().
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next();
    // Uniform in [0, 1).
    double unit();
    // Uniform in [lo, hi).
    double range(double lo, double hi);

  private:
    uint64_t state_;
};

// Smooth value noise in [-1, 1] on a lattice of spacing 1, from a seed.
double valueNoise(double x, double y, uint32_t seed);
// Sum of octaves of valueNoise, each half the amplitude and twice the
// frequency of the one before; about [-1, 1].
double fractalNoise(double x, double y, int octaves, uint32_t seed);
