// aseinfo FILE...: prints what the game's reader makes of each ASE file,
// with the reader's warnings (what it had to drop, cut or replace). With
// --strict it exits with 1 when any file has a warning. With
// --compare-assimp it also prints Assimp's mesh, vertex and face counts for
// the same file and exits with 1 when the face counts differ.
//
// Textures are looked for as the game does, with the file's own directory
// as the current one (the game runs in its data directory).

#include "assimp_probe.h"
#include "input/platform.h"
#include "offscreen_context.h"
#include "scene/damaged_files.h"
#include "scene/scene.h"
#include "scene_report.h"
#include "world/scene_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// The reader's one message, on a console.
void platformErrorBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

int main(int argc, char** argv)
{
    bool compare = false;
    bool strict = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--compare-assimp") == 0)
            compare = true;
        else if (std::strcmp(argv[i], "--strict") == 0)
            strict = true;
        else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: aseinfo [--strict] [--compare-assimp] FILE.ASE...\n");
        return 2;
    }
    if (!makeOffscreenContext()) {
        std::fprintf(stderr, "aseinfo: no OSMesa context\n");
        return 2;
    }

    bool disagreement = false;
    bool warned = false;
    // The warnings are printed with each file's report, not on their own.
    setDamageReportsQuiet(true);
    const std::filesystem::path start = std::filesystem::current_path();
    for (const std::string& file : files) {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::absolute(file, error);
        std::printf("%s\n", file.c_str());
        std::filesystem::current_path(path.parent_path(), error);
        const std::unique_ptr<Scene> loaded = loadSceneFile(path.filename().string());
        Scene& scene = *loaded;
        std::filesystem::current_path(start, error);
        printScene(stdout, scene);
        for (const std::string& warning : scene.warnings)
            std::printf("  warning: %s\n", warning.c_str());
        warned = warned || !scene.warnings.empty();
        if (!compare)
            continue;
        AssimpCounts assimp = probeWithAssimp(path.string());
        if (!assimp.ok) {
            std::printf("  assimp %s\n", assimp.failure.c_str());
            continue;
        }
        const bool same = assimp.faces == static_cast<unsigned long>(scene.totalFaces);
        std::printf("  assimp meshes %u vertices %lu faces %lu; ours nodes %u vertices %d faces %d: %s\n",
                    assimp.meshes, assimp.vertices, assimp.faces, scene.nodeCount, scene.totalVertices,
                    scene.totalFaces, same ? "faces agree" : "FACES DIFFER");
        disagreement = disagreement || !same;
        std::fflush(stdout);
    }
    return disagreement || (strict && warned) ? 1 : 0;
}
