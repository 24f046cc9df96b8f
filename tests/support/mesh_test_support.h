#pragma once

// Scenes built in code for the hit tests: nodes of triangles, and boxes.

#include "scene_test_support.h"

#include <array>
#include <memory>
#include <vector>

namespace meshtest {

using Corners = std::array<int, 3>;

// A Scene whose nodes hold the given triangles, each node's corners counted
// from its own first vertex, as the reader stores them. It needs no GL.
struct MeshScene {
    scenetest::ScratchDir dir;
    std::unique_ptr<Scene> scene = scenetest::loadText("");

    void addNode(const std::vector<Vec3>& vertices, const std::vector<Corners>& faces, Vec3 storedNormal = {})
    {
        SceneNode node;
        node.vertexCount = static_cast<int32_t>(vertices.size());
        node.faceCount = static_cast<int32_t>(faces.size());
        scene->nodes.push_back(node);
        scene->nodeCount += 1;
        for (Vec3 v : vertices)
            scene->vertices.push_back({v.x, v.y, v.z, 1.0f});
        for (Corners c : faces) {
            MeshFace f;
            f.a = c[0], f.b = c[1], f.c = c[2];
            f.faceNormal = storedNormal;
            scene->faces.push_back(f);
        }
        scene->totalVertices = static_cast<int32_t>(scene->vertices.size());
        scene->totalFaces = static_cast<int32_t>(scene->faces.size());
    }

    // A closed box between two corners, its faces turned outwards.
    void addBox(Vec3 lo, Vec3 hi)
    {
        std::vector<Vec3> v;
        for (int i = 0; i < 8; ++i)
            v.push_back({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z});
        addNode(v, {{0, 2, 3},
                    {0, 3, 1},
                    {4, 5, 7},
                    {4, 7, 6},
                    {0, 1, 5},
                    {0, 5, 4},
                    {2, 6, 7},
                    {2, 7, 3},
                    {0, 4, 6},
                    {0, 6, 2},
                    {1, 3, 7},
                    {1, 7, 5}});
    }
};

} // namespace meshtest
