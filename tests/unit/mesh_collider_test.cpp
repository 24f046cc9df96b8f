// The hit test behind every shot: a point against the faces of a Scene.

#include "mesh_test_support.h"
#include "scene/mesh_collider.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using meshtest::MeshScene;

// A right triangle of 100 units in the z = 0 plane, its normal along +z.
const std::vector<Vec3> Big = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};

int test(MeshScene& mesh, Vec4 p, float size = 5.0f)
{
    MeshCollider collider(mesh.scene.get());
    collider.radius = size * 0.1f;
    return sphereTriangleTest(p, mesh.scene->faces[0], 0, collider);
}

bool hits(MeshCollider& collider, Vec4 p, float size)
{
    bool hit = false;
    collider.collide(p, size, hit);
    return hit;
}

} // namespace

TEST(MeshCollider, APointHitsWithinAnAngleOfTheFaceInsideItsOutlineAtAnyDistance)
{
    MeshScene mesh;
    mesh.addNode(Big, {{0, 1, 2}});
    // Five units above the face, far beyond a sphere of radius 0.5: seen
    // from the first corner it lies close enough to the plane.
    EXPECT_EQ(test(mesh, {20, 20, 5, 1}), TouchesFace);
    EXPECT_EQ(test(mesh, {20, 20, -5, 1}), TouchesFace);
    // Steeper than the radius allows, on either side.
    EXPECT_EQ(test(mesh, {20, 20, 30, 1}), AboveFace);
    EXPECT_EQ(test(mesh, {20, 20, -30, 1}), BelowFace);
    // A larger size widens the angle.
    EXPECT_EQ(test(mesh, {20, 20, 30, 1}, 8.0f), TouchesFace);
    // Beside the outline, however flat.
    EXPECT_EQ(test(mesh, {60, 60, 0, 1}), MissesOutline);
    EXPECT_EQ(test(mesh, {-1, 20, 0, 1}), MissesOutline);
    // The edges and the first corner count as inside.
    EXPECT_EQ(test(mesh, {50, 0, 0, 1}), TouchesFace);
    EXPECT_EQ(test(mesh, {50, 50, 0, 1}), TouchesFace);
    EXPECT_EQ(test(mesh, {0, 0, 0, 1}), TouchesFace);
    // w plays no part.
    EXPECT_EQ(test(mesh, {20, 20, 5, 0}), TouchesFace);
}

TEST(MeshCollider, ADegenerateFaceFallsBackOnItsStoredNormalAndWithoutOneNeverHits)
{
    MeshScene withNormal;
    withNormal.addNode({{0, 0, 0}, {0, 0, 0}, {10, 0, 0}}, {{0, 1, 2}}, {0, 0, 1});
    EXPECT_EQ(test(withNormal, {5, 0, 20, 1}), AboveFace);
    EXPECT_EQ(test(withNormal, {5, 0, -20, 1}), BelowFace);

    MeshScene without;
    without.addNode({{0, 0, 0}, {0, 0, 0}, {10, 0, 0}}, {{0, 1, 2}});
    without.addNode({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {{0, 1, 2}});
    MeshCollider collider(without.scene.get());
    for (Vec4 p : {Vec4{5, 0, 0, 1}, Vec4{0, 0, 0, 1}, Vec4{5, 0, 1, 1}, Vec4{3, 2, 0, 1}}) {
        EXPECT_EQ(sphereTriangleTest(p, without.scene->faces[0], 0, collider), MissesOutline);
        EXPECT_FALSE(hits(collider, p, 8.0f));
    }
}

TEST(MeshCollider, EveryNodesFacesAreTestedAgainstTheirOwnVertices)
{
    MeshScene mesh;
    mesh.addNode({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    // The second node's corners count from its own first vertex.
    mesh.addNode({{50, 0, 0}, {60, 0, 0}, {50, 10, 0}, {99, 99, 99}}, {{3, 3, 3}, {0, 1, 2}});
    MeshCollider collider(mesh.scene.get());
    EXPECT_TRUE(hits(collider, {52, 2, 0.5f, 1}, 5.0f));
    EXPECT_TRUE(hits(collider, {0.2f, 0.2f, 0.05f, 1}, 5.0f));
    EXPECT_FALSE(hits(collider, {20, 2, 0, 1}, 5.0f));
}

TEST(MeshCollider, CollideNeverClearsTheFlagAndAnEmptyOrUnboundColliderTestsNothing)
{
    MeshScene mesh;
    mesh.addNode(Big, {{0, 1, 2}});
    MeshCollider collider(mesh.scene.get());
    bool hit = false;
    collider.collide({20, 20, 1, 1}, 5.0f, hit);
    collider.collide({500, 500, 500, 1}, 5.0f, hit);
    EXPECT_TRUE(hit);

    MeshScene empty;
    MeshCollider none(empty.scene.get());
    EXPECT_FALSE(hits(none, {0, 0, 0, 1}, 8.0f));

    // Bound to nothing, as the bases' collider is after a teardown.
    MeshCollider unbound;
    EXPECT_FALSE(hits(unbound, {0, 0, 0, 1}, 8.0f));
    collider.bind(nullptr);
    EXPECT_FALSE(hits(collider, {20, 20, 1, 1}, 5.0f));
}
