// The heap one loaded Scene of 20,000 faces keeps, from the allocator's own
// count before and after the load.

#include "ase_generator.h"
#include "scene/scene.h"
#include "world/scene_files.h"

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

int main()
{
    const std::string path = "/tmp/kestrava-memory-" + std::to_string(getpid()) + ".ase";
    {
        std::string text = generateAse(100, 10); // 100 patches of 200 faces
        std::ofstream(path, std::ios::binary) << text;
        std::printf("file: %zu bytes\n", text.size());
    }
    const size_t before = mallinfo2().uordblks;
    Scene* scene = loadSceneFile(path).release();
    const size_t after = mallinfo2().uordblks;
    std::printf("scene: %u nodes, %d vertices, %d faces\n", scene->nodeCount, scene->totalVertices,
                scene->totalFaces);
    std::printf("heap held by the scene: %zu bytes (%.2f MB)\n", after - before, (after - before) / 1e6);
    std::printf("  of which vertices %zu, faces %zu bytes\n", scene->vertices.capacity() * sizeof(MeshVertex),
                scene->faces.capacity() * sizeof(MeshFace));
    delete scene;
    unlink(path.c_str());
    return 0;
}
