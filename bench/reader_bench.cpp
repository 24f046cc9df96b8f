// The reader against Assimp's ASE import, side by side in one run, on every
// model of the game's data, on the test models and on a generated file of
// about 9 MB. Each reads the file from disk and builds its scene; neither
// makes textures. Prints Google Benchmark's own report, then a table of
// MB/s (the file's bytes) for both and their ratio.
//
//   reader_bench [DATA_DIR] [--benchmark_filter=map1 ...]

#include "ase_generator.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/scene.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct HeldFile {
    std::string label;
    std::string path;
    size_t bytes = 0;
    int faces = 0;
};

// The generated file: 120 patches of 200 faces, 24,000 faces in about
// 8.9 MB.
struct LargeFile {
    std::string path;
    LargeFile()
    {
        path = "/tmp/kestrava-bench-" + std::to_string(getpid()) + ".ase";
        std::ofstream(path, std::ios::binary) << generateAse(120, 10);
    }
    ~LargeFile() { unlink(path.c_str()); }
};

int readOurs(const std::string& path)
{
    AseText text;
    text.readFile(path);
    Scene scene;
    readAse(text, scene);
    return scene.totalFaces;
}

// Assimp's face count for the file, or -1 where its import fails.
int readAssimp(const std::string& path)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (!scene)
        return -1;
    int faces = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        faces += static_cast<int>(scene->mMeshes[i]->mNumFaces);
    return faces;
}

void ours(benchmark::State& state, const HeldFile* file)
{
    for (auto _ : state) {
        const int faces = readOurs(file->path);
        benchmark::DoNotOptimize(faces);
        if (faces != file->faces)
            state.SkipWithError("another face count");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file->bytes));
}

void assimp(benchmark::State& state, const HeldFile* file)
{
    for (auto _ : state) {
        const int faces = readAssimp(file->path);
        benchmark::DoNotOptimize(faces);
        if (faces < 0) {
            state.SkipWithError("Assimp cannot read it");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file->bytes));
}

// Keeps each run's bytes per second beside the console report.
class TableReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> bytesPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.counters.count("bytes_per_second"))
                bytesPerSecond[run.benchmark_name()] = run.counters.at("bytes_per_second");
        ConsoleReporter::ReportRuns(runs);
    }
};

std::vector<HeldFile> heldFiles(const std::string& dataDir, const std::string& largePath)
{
    std::vector<HeldFile> files;
    auto add = [&](const std::string& label, const std::string& path) {
        std::error_code error;
        HeldFile file{label, path, std::filesystem::file_size(path, error), 0};
        if (error)
            return;
        file.faces = readOurs(path);
        files.push_back(file);
    };
    std::vector<std::filesystem::path> found;
    for (const std::string& dir : {dataDir, std::string(KESTRAVA_TEST_DIR) + "/fixtures/ase"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".ASE" || extension == ".ase")
                found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::filesystem::file_size(a) > std::filesystem::file_size(b);
    });
    add("generated-9MB", largePath);
    for (const auto& path : found)
        add(path.filename().string(), path.string());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dataDir = KESTRAVA_DATA_DIR;
    if (argc > 1 && argv[1][0] != '-') {
        dataDir = argv[1];
        --argc;
        ++argv;
    }
    const LargeFile large;
    const std::vector<HeldFile> files = heldFiles(dataDir, large.path);
    for (const HeldFile& file : files) {
        benchmark::RegisterBenchmark(("ours/" + file.label).c_str(), ours, &file)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("assimp/" + file.label).c_str(), assimp, &file)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-24s %12s %12s %12s %8s\n", "file", "bytes", "ours MB/s", "Assimp MB/s", "ratio");
    double worst = 0.0;
    for (const HeldFile& file : files) {
        auto o = reporter.bytesPerSecond.find("ours/" + file.label);
        auto a = reporter.bytesPerSecond.find("assimp/" + file.label);
        if (o == reporter.bytesPerSecond.end())
            continue;
        const double oursMB = o->second / 1e6;
        if (a == reporter.bytesPerSecond.end()) {
            std::printf("%-24s %12zu %12.0f %12s %8s\n", file.label.c_str(), file.bytes, oursMB, "-", "-");
            continue;
        }
        const double assimpMB = a->second / 1e6;
        const double ratio = oursMB / assimpMB;
        worst = worst == 0.0 ? ratio : std::min(worst, ratio);
        std::printf("%-24s %12zu %12.0f %12.0f %8.2f\n", file.label.c_str(), file.bytes, oursMB, assimpMB,
                    ratio);
    }
    std::printf("lowest ratio: %.2f\n", worst);
    benchmark::Shutdown();
    return 0;
}
