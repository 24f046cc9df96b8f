#include "scene/scene.h"

#include "scene/ase_reader.h"
#include "scene/ase_text.h"

#include <atomic>

// Scenes are made on the loading's worker thread too.
std::atomic<int> SceneCount = 0;

int Scene::alive() { return SceneCount; }

Scene::Scene() { ++SceneCount; }

Scene::~Scene()
{
    --SceneCount;
    // Each material made its own texture, so every id is here once; the
    // nodes' copies of a material share the id but are not counted again.
    if (releaseTextures && !ownedTextures.empty())
        releaseTextures(ownedTextures);
    if (releaseDrawLists && drawListBase != 0)
        releaseDrawLists(drawListBase, drawListCount);
}

SceneNode* Scene::findNode(std::string nodeName)
{
    for (SceneNode& node : nodes)
        if (node.name == nodeName)
            return &node;
    return nullptr;
}

std::unique_ptr<Scene> parseScene(const AseText& text, std::string name, int* openBlocks)
{
    auto scene = std::make_unique<Scene>();
    scene->name = std::move(name);
    const int unclosed = readAse(text, *scene);
    if (openBlocks)
        *openBlocks = unclosed;
    return scene;
}

std::unique_ptr<Scene> parseScene(std::string_view bytes, std::string name, int* openBlocks)
{
    const AseText text(bytes);
    return parseScene(text, std::move(name), openBlocks);
}
