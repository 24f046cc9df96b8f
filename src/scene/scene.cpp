#include "scene/scene.h"

#include <GL/gl.h>

int SceneCount = 0;

int Scene::alive() { return SceneCount; }

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
