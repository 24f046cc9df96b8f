#include "world/scene_files.h"

#include "input/platform.h"
#include "render/scene_loading.h"
#include "scene/ase_text.h"
#include "scene/damaged_files.h"

#include <cstdio>
#include <set>

namespace {

// Each file's warnings are told once in the process, however often the
// game loads it; the data check tells them its own way.
void tellWarnings(const std::string& fileName, const std::vector<std::string>& warnings)
{
    static std::set<std::string> told;
    if (warnings.empty() || damageReportsQuiet() || !told.insert(fileName).second)
        return;
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "kestrava: %s: %s\n", fileName.c_str(), warning.c_str());
}

} // namespace

std::unique_ptr<Scene> readSceneFile(const std::string& fileName, std::string name)
{
    AseText text;
    if (!text.readFile(fileName)) {
        const std::string message = "File " + fileName + " Not Found";
        platformErrorBox(message.c_str(), "ZaraZadu Error");
        return std::make_unique<Scene>();
    }
    int openBlocks = 0;
    std::unique_ptr<Scene> scene = parseScene(text, std::move(name), &openBlocks);
    decodeSceneImages(*scene);

    if (scene->nodeCount == 0)
        reportDamagedFile(fileName, "no model could be read from it");
    else if (openBlocks > 0)
        reportDamagedFile(fileName, "it ends in the middle of a block, as if cut short");
    tellWarnings(fileName, scene->warnings);
    return scene;
}

std::unique_ptr<Scene> loadSceneFile(const std::string& fileName, std::string name)
{
    std::unique_ptr<Scene> scene = readSceneFile(fileName, std::move(name));
    uploadSceneTextures(*scene);
    return scene;
}
