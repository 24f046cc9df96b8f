#pragma once

// Does a small sphere at a point touch the triangle mesh of a Scene? Every
// hit test of the game asks this: rockets against a base, the player's
// bullets against an enemy, an enemy's bullet against the hero. The caller
// brings the point into the Scene's model space first; the collider tests
// the vertices as stored, without the node transforms that drawing applies.
//
// A face is touched by a point that lies inside the face's outline seen
// along its normal and within an angle of the face's plane as seen from the
// face's first corner (the sine of that angle is the radius). There is no
// distance test: how far away a point may be is bounded only by the size of
// the face.

#include "math/vector.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class Scene;
struct MeshFace;

struct MeshCollider {
    Scene* scene = nullptr; // not owned
    float radius = 0.0005f;

    MeshCollider() = default;
    explicit MeshCollider(Scene* mesh) : scene(mesh) {}

    void bind(Scene* mesh)
    {
        scene = mesh;
        radius = 0.0005f;
        boxes.clear();
        boxed = nullptr;
    }

    // Sets the radius to size * 0.1 and raises `hit` if the point touches
    // any face. It never lowers `hit`: the caller clears it before a group
    // of calls. Without a Scene, or with an empty one, it tests nothing.
    void collide(Vec4 point, float size, bool& hit);

    // Each node's faces, and where they lie, made at the first test: when
    // the point is too far from all of a node's faces to touch one, they
    // are passed over (as each would answer no), all but those that may be
    // touched from afar (a sliver, a face on the file's normal), which are
    // always tested. The nodes follow one another in the shared arrays; the
    // boxes stop before the first node whose faces or vertices would run
    // past their end.
    struct NodeBox {
        std::size_t firstFace = 0, faceEnd = 0;
        int32_t vertexBase = 0;
        float low[3], high[3];
        float widest = 0.0f;               // the longest edge of its faces
        std::vector<std::size_t> fromAfar; // faces always tested
    };
    std::vector<NodeBox> boxes;
    const Scene* boxed = nullptr;
    std::size_t boxedNodes = 0;
};

// The answers of sphereTriangleTest.
enum : int {
    MissesOutline = 3, // outside the face's outline, or a degenerate face
    AboveFace = 9,     // too steep above the plane, on the normal's side
    BelowFace = 10,    // too steep below the plane
    TouchesFace = 4,
};

// One face of the collider's Scene, whose node's vertices start at
// `vertexBase` in the shared vertex array.
int sphereTriangleTest(Vec4 point, const MeshFace& face, int32_t vertexBase, const MeshCollider& collider);
