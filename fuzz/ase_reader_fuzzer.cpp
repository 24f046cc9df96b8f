// Any bytes as an ASE file: load it, animate it and draw it. The reader must
// neither crash nor touch memory outside its buffers and arrays, and what it
// builds must be safe to animate and draw.
//
// Materials with a bitmap upload textures, so an OSMesa context is current
// for the whole run (no display needed).

#include "render/texture_registry.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string InputPath;

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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    makeContext();
    InputPath = "/tmp/kestrava-fuzz-" + std::to_string(getpid()) + ".ASE";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(InputPath.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    Scene scene(InputPath, "testname");
    if (scene.nodes.size() != scene.nodeCount || scene.vertices.size() != size_t(scene.totalVertices) ||
        scene.faces.size() != size_t(scene.totalFaces))
        __builtin_trap();
    for (int call = 0; call < 6; ++call)
        scene.update();
    TextureRegistry::draw(&scene);
    return 0;
}
