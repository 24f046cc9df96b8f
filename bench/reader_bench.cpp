// The reader against Assimp's ASE import on the same large file. Bytes per
// second in the report are the file's bytes.

#include "ase_generator.h"
#include "scene/scene.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace {

// 120 patches of 200 faces: 24,000 faces in about 8.9 MB (the reader takes
// files up to 9,000,000 bytes).
struct LargeFile {
    std::string path;
    size_t bytes = 0;
    LargeFile()
    {
        path = "/tmp/kestrava-bench-" + std::to_string(getpid()) + ".ase";
        std::string text = generateAse(120, 10);
        bytes = text.size();
        std::ofstream(path, std::ios::binary) << text;
    }
    ~LargeFile() { unlink(path.c_str()); }
};

const LargeFile& largeFile()
{
    static LargeFile file;
    return file;
}

void OurReader(benchmark::State& state)
{
    const LargeFile& file = largeFile();
    for (auto _ : state) {
        Scene scene(file.path, "testname");
        benchmark::DoNotOptimize(scene.totalFaces);
        if (scene.totalFaces != 24000)
            state.SkipWithError("wrong face count");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}

void AssimpReader(benchmark::State& state)
{
    const LargeFile& file = largeFile();
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(file.path, 0);
        if (!scene) {
            state.SkipWithError("assimp failed");
            break;
        }
        unsigned faces = 0;
        for (unsigned i = 0; i < scene->mNumMeshes; ++i)
            faces += scene->mMeshes[i]->mNumFaces;
        if (faces != 24000)
            state.SkipWithError("assimp read another face count");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}

} // namespace

BENCHMARK(OurReader)->Unit(benchmark::kMillisecond);
BENCHMARK(AssimpReader)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
