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

void MeshCollider::collide(Vec4 point, float size, bool& hit)
{
    radius = size * 0.1f;
    if (!scene)
        return;
    // Faces and vertices of the nodes follow one another in the shared
    // arrays; the reader keeps each node's corners inside its own vertices.
    const size_t faceTotal = scene->faces.size();
    const size_t vertexTotal = scene->vertices.size();
    size_t faceBase = 0;
    int32_t vertexBase = 0;
    for (const SceneNode& node : scene->nodes) {
        const size_t faceEnd = faceBase + static_cast<size_t>(node.faceCount);
        if (faceEnd > faceTotal ||
            static_cast<size_t>(vertexBase) + static_cast<size_t>(node.vertexCount) > vertexTotal)
            return;
        for (size_t f = faceBase; f < faceEnd; ++f)
            if (sphereTriangleTest(point, scene->faces[f], vertexBase, *this) == TouchesFace)
                hit = true;
        faceBase = faceEnd;
        vertexBase += node.vertexCount;
    }
}
