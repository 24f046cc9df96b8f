#include "random.h"

#include <cmath>

uint64_t Random::next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

double Random::range(double lo, double hi) { return lo + (hi - lo) * unit(); }

namespace {

double latticeValue(int64_t x, int64_t y, uint32_t seed)
{
    uint64_t h = uint64_t(x) * 0x8DA6B343ull + uint64_t(y) * 0xD8163841ull + uint64_t(seed) * 0xCB1AB31Full;
    Random r(h);
    return r.unit() * 2.0 - 1.0;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

} // namespace

double valueNoise(double x, double y, uint32_t seed)
{
    double fx = std::floor(x), fy = std::floor(y);
    auto ix = int64_t(fx), iy = int64_t(fy);
    double tx = smooth(x - fx), ty = smooth(y - fy);
    double a = latticeValue(ix, iy, seed), b = latticeValue(ix + 1, iy, seed);
    double c = latticeValue(ix, iy + 1, seed), d = latticeValue(ix + 1, iy + 1, seed);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(double x, double y, int octaves, uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, frequency = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x * frequency, y * frequency, seed + uint32_t(i) * 131u);
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum * 2.0;
}
