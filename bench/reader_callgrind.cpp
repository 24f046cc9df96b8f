// One file read and parsed a few times, by our reader or by Assimp's ASE
// import, for callgrind: instruction counts do not depend on how loaded the
// machine is. Only the reads run instrumented (start callgrind with
// --instr-atstart=no); with --generated the file is the reader bench's
// generated one, written first.
//
//   valgrind --tool=callgrind --instr-atstart=no reader_callgrind [--assimp] FILE|--generated [TIMES]

#include "ase_generator.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/scene.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    bool assimp = false;
    if (argc > 1 && std::strcmp(argv[1], "--assimp") == 0) {
        assimp = true;
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: reader_callgrind [--assimp] FILE|--generated [TIMES]\n");
        return 2;
    }
    std::string path = argv[1];
    const bool generated = path == "--generated";
    if (generated) {
        path = "/tmp/kestrava-callgrind-" + std::to_string(getpid()) + ".ase";
        std::ofstream(path, std::ios::binary) << generateAse(120, 10);
    }
    const int times = argc > 2 ? std::atoi(argv[2]) : 1;
    long faces = 0;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < times; ++i) {
        if (assimp) {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(path, 0);
            if (!scene)
                return 1;
            for (unsigned m = 0; m < scene->mNumMeshes; ++m)
                faces += scene->mMeshes[m]->mNumFaces;
        } else {
            AseText text;
            text.readFile(path);
            Scene scene;
            readAse(text, scene);
            faces += scene.totalFaces;
        }
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    if (generated)
        unlink(path.c_str());
    std::printf("%ld faces in %d reads\n", faces, times);
    return 0;
}
