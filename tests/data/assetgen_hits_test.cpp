// The helicopter and the base as the build writes them must be fair targets
// under the game's own hit test (scene/mesh_collider.h): a point counts as a
// hit on a face when it lies inside the face's outline seen along its normal
// and within an angle of the face's plane as seen from the face's first
// corner (the sine of that angle is the shot's radius: 0.5 for bullets at
// the helicopter, 0.8 for rockets at a base).
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The share of a grid of points in the box that hit the model in the file.
double hitShare(const char* file, Vec3 lo, Vec3 hi, float size)
{
    AseText text;
    EXPECT_TRUE(text.readFile(std::string(KESTRAVA_DATA_DIR) + "/" + file)) << file;
    Scene scene;
    readAse(text, scene);
    MeshCollider collider(&scene);
    int hits = 0, total = 0;
    const int n = 9;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k, ++total) {
                bool hit = false;
                collider.collide({lo.x + (hi.x - lo.x) * (i + 0.5f) / n,
                                  lo.y + (hi.y - lo.y) * (j + 0.5f) / n,
                                  lo.z + (hi.z - lo.z) * (k + 0.5f) / n, 1.0f},
                                 size, hit);
                hits += hit;
            }
    return double(hits) / total;
}

} // namespace

TEST(AssetgenHits, BulletsThatReachTheCabinHitTheHelicopter)
{
    // Deep in the cabin the shell's faces are seen at steep angles; the
    // hidden hull carries the hits there.
    EXPECT_GT(hitShare("HeroHeli.ASE", {-0.25f, -0.25f, -0.6f}, {0.25f, 0.25f, 0.4f}, 5), 0.9);
    EXPECT_GT(hitShare("HeroHeli.ASE", {-0.4f, -0.4f, -0.8f}, {0.4f, 0.4f, 0.6f}, 5), 0.9);
    // Far beside it, nothing.
    EXPECT_LT(hitShare("HeroHeli.ASE", {4.0f, -0.4f, -0.8f}, {4.8f, 0.4f, 0.6f}, 5), 0.05);
}

TEST(AssetgenHits, RocketsThatReachABaseHitIt)
{
    EXPECT_GT(hitShare("MilitaryBase.ASE", {-20, -20, 0.5f}, {20, 20, 12}, 8), 0.8);
}
