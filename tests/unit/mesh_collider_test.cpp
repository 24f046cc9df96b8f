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

// A node whose faces are all too far from the point is passed over, so the
// answer must be the one every face gives: over a grid of points around
// and far beyond meshes of each kind, at the bullets' and the rockets'
// sizes and at one whose angle has no bound. Each kind in a mesh of its
// own (the point of a face on the file's normal is touched from anywhere
// near its plane, which would hide the others), and all but that one
// together.
TEST(MeshCollider, NodesPassedOverAnswerAsEveryFaceTestedWould)
{
    auto large = [](MeshScene& m) { m.addNode(Big, {{0, 1, 2}}); };
    auto box = [](MeshScene& m) { m.addBox({300, -20, -20}, {340, 20, 30}); };
    auto tilted = [](MeshScene& m) { m.addNode({{500, 0, 0}, {560, 40, 30}, {520, 90, -40}}, {{0, 1, 2}}); };
    auto sliver = [](MeshScene& m) {
        m.addNode({{700, 0, 0}, {800, 0, 0}, {750, 0.00001f, 0}}, {{0, 1, 2}});
    };
    auto point = [](MeshScene& m) {
        m.addNode({{900, 0, 0}, {900, 0, 0}, {900, 0, 0}}, {{0, 1, 2}}, {0, 0, 1});
    };
    // Touched higher above its far end than its longest edge is long.
    auto narrow = [](MeshScene& m) { m.addNode({{1000, 0, 0}, {1100, 0, 0}, {1100, 10, 0}}, {{0, 1, 2}}); };
    using Build = void (*)(MeshScene&);
    const std::vector<std::vector<Build>> kinds = {
        {large}, {box}, {tilted}, {sliver}, {point}, {narrow}, {large, box, tilted, sliver, narrow}};
    int hitsSeen = 0;
    for (size_t kind = 0; kind < kinds.size(); ++kind) {
        MeshScene mesh; // one at a time: each works in a scratch folder of its own
        for (Build build : kinds[kind])
            build(mesh);
        MeshCollider collider(mesh.scene.get());
        int differing = 0;
        for (float size : {5.0f, 8.0f, 20.0f})
            for (float x = -250; x < 1150; x += 13)
                for (float y = -180; y < 260; y += 17)
                    for (float z = -330; z < 330; z += 23) {
                        const Vec4 p{x, y, z, 1};
                        MeshCollider every(mesh.scene.get());
                        every.radius = size * 0.1f;
                        bool expected = false;
                        int32_t vertexBase = 0;
                        size_t face = 0;
                        for (const SceneNode& node : mesh.scene->nodes) {
                            for (int f = 0; f < node.faceCount; ++f, ++face)
                                expected = expected || sphereTriangleTest(p, mesh.scene->faces[face],
                                                                          vertexBase, every) == TouchesFace;
                            vertexBase += node.vertexCount;
                        }
                        hitsSeen += expected;
                        differing += hits(collider, p, size) != expected;
                    }
        EXPECT_EQ(differing, 0) << "mesh " << kind;
        // Bound anew to the same Scene, changed since (as a level's model
        // read again may land at the same address), the boxes are made anew.
        if (kind == 1) {
            for (MeshVertex& v : mesh.scene->vertices)
                v.x -= 300;
            collider.bind(mesh.scene.get());
            EXPECT_TRUE(hits(collider, {-1, 0, 0, 1}, 5.0f));
        }
    }
    EXPECT_GT(hitsSeen, 1000);
}
