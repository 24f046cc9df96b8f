// Any bytes as an ASE file: load it and animate it. The reader must neither
// crash nor touch memory outside its buffers and arrays, and what it builds
// must be safe to animate and to draw: every node's faces and corners inside
// the arrays. The same bytes read with the quick reads and with the tokens
// one by one must give the same Scene.
//
// No GL context: materials' images are decoded but not uploaded, as the
// data check reads them, and the animation is computed on the CPU.

#include "render/scene_loading.h"
#include "render/texture_registry.h"
#include "scene/animation.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/scene.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// What drawing relies on: each node's share of the faces inside the face
// array, and each corner inside the node's own vertices.
bool drawable(const Scene& scene)
{
    size_t vertexBase = 0;
    size_t faceBase = 0;
    for (const SceneNode& node : scene.nodes) {
        if (node.vertexCount < 0 || node.faceCount < 0 || faceBase + node.faceCount > scene.faces.size() ||
            vertexBase + node.vertexCount > scene.vertices.size())
            return false;
        for (size_t f = faceBase; f < faceBase + node.faceCount; ++f)
            for (int32_t corner : {scene.faces[f].a, scene.faces[f].b, scene.faces[f].c})
                if (corner < 0 || corner >= node.vertexCount)
                    return false;
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
    }
    return true;
}

// memcmp that takes empty arrays (whose data may be null).
bool sameBytes(const void* x, const void* y, size_t bytes)
{
    return bytes == 0 || std::memcmp(x, y, bytes) == 0;
}

bool sameScenes(const Scene& a, const Scene& b)
{
    if (a.nodes.size() != b.nodes.size() || a.vertices.size() != b.vertices.size() ||
        a.faces.size() != b.faces.size() || a.warnings != b.warnings ||
        a.materials.size() != b.materials.size())
        return false;
    if (!sameBytes(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(MeshVertex)) ||
        !sameBytes(a.faces.data(), b.faces.data(), a.faces.size() * sizeof(MeshFace)))
        return false;
    for (size_t i = 0; i < a.nodes.size(); ++i) {
        const SceneNode& x = a.nodes[i];
        const SceneNode& y = b.nodes[i];
        if (x.name != y.name || x.vertexCount != y.vertexCount || x.faceCount != y.faceCount ||
            x.material.name != y.material.name || x.material.bitmap != y.material.bitmap ||
            std::memcmp(&x.material.diffuse, &y.material.diffuse, sizeof(Colour4)) != 0 ||
            std::memcmp(x.nodeMatrix.m, y.nodeMatrix.m, sizeof x.nodeMatrix.m) != 0 ||
            x.positionTrack.times != y.positionTrack.times ||
            x.rotationTrack.angles != y.rotationTrack.angles || x.scaleTrack.times != y.scaleTrack.times)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TextureUploads = false;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AseText text(std::string_view(reinterpret_cast<const char*>(data), size));
    int openBlocks = 0;
    const std::unique_ptr<Scene> scene = parseScene(text, "testname", &openBlocks);
    if (scene->nodes.size() != scene->nodeCount || scene->vertices.size() != size_t(scene->totalVertices) ||
        scene->faces.size() != size_t(scene->totalFaces))
        __builtin_trap();
    if (!drawable(*scene))
        __builtin_trap();

    Scene slow;
    if (readAse(text, slow, false) != openBlocks || !sameScenes(*scene, slow))
        __builtin_trap();

    decodeSceneImages(*scene);
    AnimationCursors cursors;
    for (int call = 0; call < 6; ++call)
        scene->update(cursors);
    return 0;
}
