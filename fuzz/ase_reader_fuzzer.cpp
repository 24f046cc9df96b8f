// Any bytes as an ASE file: load it, animate it and draw it. The reader must
// neither crash nor touch memory outside its buffers and arrays, and what it
// builds must be safe to animate and draw. The same bytes read with the
// quick reads and with the tokens one by one must give the same Scene.
//
// Materials with a bitmap upload textures, so an OSMesa context is current
// for the whole run (no display needed).

#include "render/scene_loading.h"
#include "render/texture_registry.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

void makeContext()
{
    static std::vector<unsigned char> buffer(8 * 8 * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!context || !OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, 8, 8)) {
        std::fprintf(stderr, "ase_reader_fuzzer: no OSMesa context\n");
        _exit(1);
    }
    glMatrixMode(GL_MODELVIEW);
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
    makeContext();
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

    Scene slow;
    if (readAse(text, slow, false) != openBlocks || !sameScenes(*scene, slow))
        __builtin_trap();

    uploadSceneTextures(*scene);
    for (int call = 0; call < 6; ++call)
        scene->update();
    TextureRegistry::draw(scene.get());
    return 0;
}
