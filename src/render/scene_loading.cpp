#include "render/scene_loading.h"

#include "platform/platform.h"
#include "render/texture_registry.h"
#include "scene/ase_text.h"
#include "scene/damaged_files.h"

#include <GL/gl.h>

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

// Never destroyed: scenes held by globals go at the process's end, in any
// order with this file's statics.
std::vector<unsigned int>& retiredTextures()
{
    static auto* textures = new std::vector<unsigned int>;
    return *textures;
}

void retireTextures(const std::vector<unsigned int>& textures)
{
    retiredTextures().insert(retiredTextures().end(), textures.begin(), textures.end());
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

void decodeSceneImages(Scene& scene)
{
    for (const Material& material : scene.materials)
        if (!material.bitmap.empty())
            GameTextures.load(material.bitmap, material.bitmap);
}

void uploadSceneTextures(Scene& scene)
{
    if (scene.texturesMade)
        return;
    for (Material& material : scene.materials) {
        if (material.bitmap.empty())
            continue;
        material.textureId = uploadTexture(material.bitmap);
        if (material.textureId != 0)
            scene.ownedTextures.push_back(material.textureId);
    }
    for (SceneNode& node : scene.nodes)
        if (node.materialIndex >= 0)
            node.material.textureId = scene.materials[node.materialIndex].textureId;
    scene.releaseTextures = retireTextures;
    scene.texturesMade = true;
}

void deleteRetiredTextures()
{
    std::vector<unsigned int>& textures = retiredTextures();
    if (textures.empty())
        return;
    glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
    textures.clear();
}
