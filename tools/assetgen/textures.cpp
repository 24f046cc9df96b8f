#include "textures.h"

#include "geometry.h"
#include "random.h"

#include <algorithm>
#include <cmath>

namespace {

// Noise that repeats every `period` lattice cells: the ground texture tiles.
double tiledNoise(double x, double y, int period, uint32_t seed)
{
    // Blend four shifted copies so the edges meet.
    double fx = x / period, fy = y / period;
    double a = valueNoise(x, y, seed), b = valueNoise(x - period, y, seed);
    double c = valueNoise(x, y - period, seed), d = valueNoise(x - period, y - period, seed);
    double top = a + (b - a) * fx, bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

double tiledFractal(double x, double y, int period, int octaves, uint32_t seed)
{
    double sum = 0, amp = 0.5;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * tiledNoise(x, y, period, seed + uint32_t(i) * 17u);
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= 0.5;
    }
    return sum * 2.0;
}

} // namespace

Image groundImage()
{
    const int n = 512;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double u = x * 8.0 / n, v = y * 8.0 / n; // 8 cells across
            double grass = tiledFractal(u, v, 8, 5, 101);
            double dirt = tiledFractal(u * 0.5 + 3, v * 0.5 + 7, 4, 3, 202);
            double t = std::clamp(0.5 + dirt * 0.9, 0.0, 1.0);
            double r = (92 + 28 * grass) * (1 - t) + (140 + 24 * grass) * t;
            double g = (110 + 30 * grass) * (1 - t) + (112 + 20 * grass) * t;
            double b = (52 + 14 * grass) * (1 - t) + (70 + 14 * grass) * t;
            img.set(x, y, clampByte(r), clampByte(g), clampByte(b));
        }
    return img;
}

Image roadImage()
{
    const int w = 64, h = 256;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double grain = valueNoise(x * 0.7, y * 0.7, 303) * 10 + valueNoise(x * 0.15, y * 0.15, 304) * 8;
            double c = 78 + grain;
            int r = clampByte(c), g = clampByte(c), b = clampByte(c + 4);
            if (x < 4 || x >= w - 4) { // kerbs
                r = 200;
                g = 196;
                b = 180;
            } else if (x >= 30 && x < 34 && (y % 128) < 64) { // dashes
                r = 230;
                g = 210;
                b = 90;
            }
            img.set(x, y, r, g, b);
        }
    return img;
}

Image skyImage()
{
    const int w = 1024, h = 512;
    Image img(w, h);
    for (int y = 0; y < h; ++y) {
        double phi = Pi * (0.5 - (y + 0.5) / h); // +90 at the top row
        for (int x = 0; x < w; ++x) {
            double theta = 2.0 * Pi * (x + 0.5) / w;
            V3 d{std::cos(phi) * std::cos(theta), std::sin(phi), -std::cos(phi) * std::sin(theta)};
            // Clouds from noise on the three planes, blended by the
            // direction, so the poles and the seam show no pinch.
            V3 wts{d.x * d.x, d.y * d.y, d.z * d.z};
            double s = 3.0;
            double cloud = wts.x * fractalNoise(d.y * s + 10, d.z * s + 10, 5, 401) +
                           wts.y * fractalNoise(d.x * s + 20, d.z * s + 20, 5, 402) +
                           wts.z * fractalNoise(d.x * s + 30, d.y * s + 30, 5, 403);
            double cover = std::clamp((cloud - 0.05) * 2.2, 0.0, 1.0);
            // A blue that pales toward the equator of the map.
            double pale = 1.0 - std::fabs(d.y);
            double r = 96 + 70 * pale, g = 146 + 52 * pale, b = 214 + 20 * pale;
            double cr = 246 - 30 * cover * cover, cg = 244 - 28 * cover * cover,
                   cb = 240 - 20 * cover * cover;
            img.set(x, y, clampByte(r + (cr - r) * cover), clampByte(g + (cg - g) * cover),
                    clampByte(b + (cb - b) * cover));
        }
    }
    return img;
}
