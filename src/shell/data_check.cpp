#include "shell/data_check.h"

#include "input/sounds.h"
#include "render/texture_registry.h"
#include "scene/damaged_files.h"
#include "scene/scene.h"
#include "shell/startup.h"
#include "world/data_files.h"
#include "world/level_state.h"
#include "world/path_file.h"
#include "world/scene_files.h"
#include "world/sound_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The models, sounds, textures and course as the game reads them, in the
// current directory.
std::vector<std::string> readAsTheGameDoes()
{
    std::vector<std::string> problems;
    for (const ModelFile& file : gameModelFiles()) {
        std::error_code ec;
        if (!fs::exists(file.name, ec)) {
            problems.push_back(std::string(file.name) + ": missing");
            continue;
        }
        const std::unique_ptr<Scene> loaded = loadSceneFile(file.name, "check");
        Scene& scene = *loaded;
        // What the reader had to drop or cut: the game would show less.
        for (const std::string& warning : scene.warnings)
            problems.push_back(std::string(file.name) + ": " + warning);
        for (const char* node : file.requiredNodes)
            if (scene.nodeCount > 0 && !scene.findNode(node))
                problems.push_back(std::string(file.name) + ": the node " + node + " is missing");
    }
    for (const char* name : SoundFileNames) {
        WavSound sound;
        std::string error;
        if (!readWavFile(name, &sound, &error))
            problems.push_back(std::string(name) + ": " + error);
        else if (sound.channels != 1 || sound.sampleRate != SoundSampleRate)
            problems.push_back(std::string(name) + ": not mono at " + std::to_string(SoundSampleRate) +
                               " Hz");
    }
    loadPathText();
    Level.PathFile.reset();
    for (const std::string& report : damagedFileReports())
        problems.push_back(report);
    return problems;
}

} // namespace

std::vector<std::string> checkDataDirectory(const std::string& directory)
{
    std::error_code ec;
    const fs::path previous = fs::current_path(ec);
    fs::current_path(directory, ec);
    if (ec)
        return {directory + ": not a directory the game can read"};

    std::vector<std::string> problems;
    std::vector<ManifestEntry> entries;
    if (!readManifest(ManifestFileName, &entries))
        problems.push_back(std::string(ManifestFileName) +
                           ": missing or unreadable, so the files cannot be compared with the build's");
    else
        problems = compareWithManifest(".", entries);

    // Quietly, without GL: the problems are told here, not in boxes.
    const bool uploads = TextureUploads;
    TextureUploads = false;
    setDamageReportsQuiet(true);
    clearDamagedFileReports();
    GameTextures.clear();
    for (const std::string& problem : readAsTheGameDoes())
        if (std::find(problems.begin(), problems.end(), problem) == problems.end())
            problems.push_back(problem);
    clearDamagedFileReports();
    GameTextures.clear();
    setDamageReportsQuiet(false);
    TextureUploads = uploads;

    fs::current_path(previous, ec);
    return problems;
}

int checkDataCommand(const std::string& directory)
{
    std::string dir = directory;
    if (dir.empty()) {
        dir = chooseDataDirectory();
        std::error_code ec;
        if (dir.empty() && fs::exists("main.ASE", ec))
            dir = fs::current_path(ec).string();
    }
    if (dir.empty()) {
        std::printf("kestrava: no data directory found; looked in the current directory and in:\n");
        for (const std::string& candidate : dataDirectoryCandidates())
            std::printf("  %s\n", candidate.c_str());
        return 1;
    }
    std::error_code ec;
    const std::string shown = fs::weakly_canonical(dir, ec).string();
    const std::vector<std::string> problems = checkDataDirectory(dir);
    for (const std::string& problem : problems)
        std::printf("%s/%s\n", shown.c_str(), problem.c_str());
    if (problems.empty())
        std::printf("kestrava: the game data in %s is whole\n", shown.c_str());
    else
        std::printf("kestrava: %zu problem%s in the game data in %s\n", problems.size(),
                    problems.size() == 1 ? "" : "s", shown.c_str());
    return problems.empty() ? 0 : 1;
}
