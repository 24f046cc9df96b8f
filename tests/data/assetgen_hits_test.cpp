// The helicopter and the base must be fair targets under the game's hit
// test: a point counts as a hit on a face when it lies inside the face's
// outline seen along its normal and within an angle of the face's plane as
// seen from the face's first corner (the sine of that angle is the shot's
// radius: 0.5 for bullets at the helicopter, 0.8 for rockets at a base).
#include "models.h"

#include <gtest/gtest.h>

namespace {

bool touches(const AseScene& scene, V3 p, double radius)
{
    for (const AseObject& o : scene.objects)
        for (const Mesh::Face& f : o.mesh.faces) {
            V3 a = o.mesh.vertices[size_t(f.v[0])], b = o.mesh.vertices[size_t(f.v[1])],
               c = o.mesh.vertices[size_t(f.v[2])];
            V3 n = normalized(cross(a - b, a - c));
            if (length(n) == 0.0)
                continue;
            V3 w = normalized(p - a);
            double s = dot(n, w);
            if (s > radius || s < -radius)
                continue;
            if (dot(cross(w, b - a), n) > 0 || dot(cross(p - b, c - b), n) > 0 ||
                dot(cross(p - c, a - c), n) > 0)
                continue;
            return true;
        }
    return false;
}

double hitShare(const AseScene& scene, V3 lo, V3 hi, double radius)
{
    int hits = 0, total = 0;
    const int n = 9;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k, ++total) {
                V3 p{lo.x + (hi.x - lo.x) * (i + 0.5) / n, lo.y + (hi.y - lo.y) * (j + 0.5) / n,
                     lo.z + (hi.z - lo.z) * (k + 0.5) / n};
                hits += touches(scene, p, radius);
            }
    return double(hits) / total;
}

} // namespace

TEST(AssetgenHits, BulletsThatReachTheCabinHitTheHelicopter)
{
    AseScene heli = buildHeroHeli();
    // Deep in the cabin the shell's faces are seen at steep angles; the
    // hidden hull carries the hits there.
    EXPECT_GT(hitShare(heli, {-0.25, -0.25, -0.6}, {0.25, 0.25, 0.4}, 0.5), 0.9);
    EXPECT_GT(hitShare(heli, {-0.4, -0.4, -0.8}, {0.4, 0.4, 0.6}, 0.5), 0.9);
    // Far beside it, nothing.
    EXPECT_LT(hitShare(heli, {4.0, -0.4, -0.8}, {4.8, 0.4, 0.6}, 0.5), 0.05);
}

TEST(AssetgenHits, RocketsThatReachABaseHitIt)
{
    AseScene base = buildMilitaryBase(0);
    EXPECT_GT(hitShare(base, {-20, -20, 0.5}, {20, 20, 12}, 0.8), 0.8);
}
