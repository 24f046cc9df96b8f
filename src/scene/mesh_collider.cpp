#include "scene/mesh_collider.h"

#include "scene/scene.h"

#include <cmath>

namespace {

Vec3 minus(Vec4 a, Vec4 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 vertexAt(const Scene& scene, int32_t index)
{
    const MeshVertex& v = scene.vertices[static_cast<size_t>(index)];
    return {v.x, v.y, v.z};
}

Vec4 asPoint(Vec3 v) { return {v.x, v.y, v.z, 1.0f}; }

} // namespace

int sphereTriangleTest(Vec4 point, const MeshFace& face, int32_t vertexBase, const MeshCollider& collider)
{
    const Scene& scene = *collider.scene;
    const Vec4 a = asPoint(vertexAt(scene, vertexBase + face.a));
    const Vec4 b = asPoint(vertexAt(scene, vertexBase + face.b));
    const Vec4 c = asPoint(vertexAt(scene, vertexBase + face.c));

    // The normal from the corners; a face too thin for one falls back on
    // the normal the file gave it.
    Vec3 n = cross(minus(a, b), minus(a, c));
    const float length = std::sqrt(dot(n, n));
    if (length != 0.0f)
        n = {n.x / length, n.y / length, n.z / length};
    else
        n = face.faceNormal;
    if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f)
        return MissesOutline;

    // The direction from the first corner to the point; a point on that
    // corner lies in the plane.
    Vec3 w = minus(point, a);
    const float distance = std::sqrt(dot(w, w));
    if (distance != 0.0f)
        w = {w.x / distance, w.y / distance, w.z / distance};
    const float s = dot(n, w);
    if (s > collider.radius)
        return AboveFace;
    if (s < -collider.radius)
        return BelowFace;

    // Inside the outline or on its edges, seen along the normal.
    if (dot(cross(w, minus(b, a)), n) > 0.0f)
        return MissesOutline;
    if (dot(cross(minus(point, b), minus(c, b)), n) > 0.0f)
        return MissesOutline;
    if (dot(cross(minus(point, c), minus(a, c)), n) > 0.0f)
        return MissesOutline;
    return TouchesFace;
}

namespace {

float length3(Vec3 v) { return std::sqrt(dot(v, v)); }

// How far from its face a point may be and still touch it, as a share of
// the face's longest edge; negative when there is no such bound. A point
// touches a face only if it lies on the face seen along the face's normal
// n (or on its edges), at some height t: p = q + t n with q on the face.
// Seen from the first corner a, its sine |n.(p - a)| / |p - a| must not
// pass the radius r; n.(q - a) and |q - a| are at most the longest edge
// e, so |t| <= e + r (e + |t|), that is |t| <= e (1 + r) / (1 - r), whatever
// the normal's tilt. A hundredth more, and a hundredth of a unit, for the
// rounding of the test.
float reachOf(float r) { return r < 1.0f ? (1.0f + r) / (1.0f - r) * 1.01f : -1.0f; }

// Whether the normal the test takes for a face (from its corners) is the
// face's own: the face is not a sliver (the sine of its first corner's
// angle at least a thousandth, so rounding cannot turn the normal) and the
// normal stands square on both edges from that corner. A face that falls
// back on the file's normal, or a sliver, may be touched from afar.
bool ownNormal(Vec4 a, Vec4 b, Vec4 c)
{
    const Vec3 n = cross(minus(a, b), minus(a, c));
    const float length = length3(n);
    const Vec3 ab = minus(b, a), ac = minus(c, a);
    const float ab2 = length3(ab), ac2 = length3(ac);
    if (length == 0.0f || !(length >= 0.001f * ab2 * ac2))
        return false;
    const Vec3 unit = {n.x / length, n.y / length, n.z / length};
    return std::fabs(dot(unit, ab)) <= 0.001f * ab2 && std::fabs(dot(unit, ac)) <= 0.001f * ac2;
}

} // namespace

void MeshCollider::collide(Vec4 point, float size, bool& hit)
{
    radius = size * 0.1f;
    if (!scene)
        return;
    if (boxed != scene || boxedNodes != scene->nodes.size()) {
        boxes.clear();
        size_t faceBase = 0;
        int32_t vertexBase = 0;
        for (const SceneNode& node : scene->nodes) {
            const size_t faceEnd = faceBase + static_cast<size_t>(node.faceCount);
            if (faceEnd > scene->faces.size() ||
                static_cast<size_t>(vertexBase) + static_cast<size_t>(node.vertexCount) >
                    scene->vertices.size())
                break;
            NodeBox& box = boxes.emplace_back();
            box.firstFace = faceBase, box.faceEnd = faceEnd, box.vertexBase = vertexBase;
            for (int axis = 0; axis < 3; ++axis)
                box.low[axis] = INFINITY, box.high[axis] = -INFINITY;
            for (size_t f = faceBase; f < faceEnd; ++f) {
                const MeshFace& face = scene->faces[f];
                const Vec4 corners[3] = {asPoint(vertexAt(*scene, vertexBase + face.a)),
                                         asPoint(vertexAt(*scene, vertexBase + face.b)),
                                         asPoint(vertexAt(*scene, vertexBase + face.c))};
                if (!ownNormal(corners[0], corners[1], corners[2])) {
                    box.fromAfar.push_back(f);
                    continue;
                }
                for (int i = 0; i < 3; ++i) {
                    const float at[3] = {corners[i].x, corners[i].y, corners[i].z};
                    for (int axis = 0; axis < 3; ++axis)
                        box.low[axis] = std::fmin(box.low[axis], at[axis]),
                        box.high[axis] = std::fmax(box.high[axis], at[axis]);
                    box.widest = std::fmax(box.widest, length3(minus(corners[i], corners[(i + 1) % 3])));
                }
            }
            faceBase = faceEnd;
            vertexBase += node.vertexCount;
        }
        boxed = scene;
        boxedNodes = scene->nodes.size();
    }
    const float reach = reachOf(radius);
    const float at[3] = {point.x, point.y, point.z};
    for (const NodeBox& box : boxes) {
        // Beyond the box on some axis (a point with no place, NaN, is not).
        bool beyond = false;
        if (reach >= 0.0f) {
            const float margin = reach * box.widest + 0.01f;
            for (int axis = 0; axis < 3; ++axis)
                beyond = beyond || at[axis] < box.low[axis] - margin || at[axis] > box.high[axis] + margin;
        }
        if (beyond) {
            for (size_t f : box.fromAfar)
                if (sphereTriangleTest(point, scene->faces[f], box.vertexBase, *this) == TouchesFace)
                    hit = true;
        } else {
            for (size_t f = box.firstFace; f < box.faceEnd; ++f)
                if (sphereTriangleTest(point, scene->faces[f], box.vertexBase, *this) == TouchesFace)
                    hit = true;
        }
    }
}
