#include "scene/scene.h"

#include "platform/platform.h"
#include "render/texture_registry.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/damaged_files.h"

#include <GL/gl.h>

#include <cstdio>
#include <set>

int SceneCount = 0;

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

int Scene::alive() { return SceneCount; }

Scene::Scene() { ++SceneCount; }

Scene::Scene(std::string fileName, std::string sceneName)
{
    ++SceneCount;
    AseText text;
    if (!text.readFile(fileName)) {
        std::string message = "File " + fileName + " Not Found";
        platformErrorBox(message.c_str(), "ZaraZadu Error");
        return;
    }
    name = std::move(sceneName);
    const int unclosedBlocks = readAse(text, *this);

    // Every material gets a texture of its own, even where two name the
    // same file; the Scene deletes them all. The nodes' copies take the id
    // of their material's.
    for (Material& material : materials) {
        if (material.bitmap.empty())
            continue;
        GameTextures.load(material.bitmap, material.bitmap);
        material.textureId = uploadTexture(material.bitmap);
        if (material.textureId != 0)
            ownedTextures.push_back(material.textureId);
    }
    for (SceneNode& node : nodes)
        if (node.materialIndex >= 0)
            node.material.textureId = materials[node.materialIndex].textureId;

    if (nodeCount == 0)
        reportDamagedFile(fileName, "no model could be read from it");
    else if (unclosedBlocks > 0)
        reportDamagedFile(fileName, "it ends in the middle of a block, as if cut short");
    tellWarnings(fileName, warnings);
}

Scene::~Scene()
{
    --SceneCount;
    // Each material made its own texture, so every id is here once; the
    // nodes' copies of a material share the id but are not counted again.
    if (!ownedTextures.empty())
        glDeleteTextures(static_cast<GLsizei>(ownedTextures.size()), ownedTextures.data());
}

SceneNode* Scene::findNode(std::string nodeName)
{
    for (SceneNode& node : nodes)
        if (node.name == nodeName)
            return &node;
    return nullptr;
}
