#pragma once

#include <string>

// What Assimp's importer reads from a file. Assimp runs in a child process:
// some versions crash on real exports, and a crash is reported, not shared.
struct AssimpCounts {
    bool ok = false;
    std::string failure; // why not ok: Assimp's message, or the signal
    unsigned meshes = 0;
    unsigned long vertices = 0;
    unsigned long faces = 0;
};

AssimpCounts probeWithAssimp(const std::string& path);
