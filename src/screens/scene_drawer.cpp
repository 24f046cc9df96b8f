#include "screens/scene_drawer.h"

#include "render/texture_registry.h"

void (*DrawScene)(Scene* scene) = drawLoadedScene;
void (*DrawPosedScene)(Scene* scene, const std::vector<Matrix4>& pose) = drawLoadedPosedScene;

void drawLoadedScene(Scene* scene)
{
    if (scene)
        TextureRegistry::draw(scene);
}

void drawLoadedPosedScene(Scene* scene, const std::vector<Matrix4>& pose)
{
    if (scene)
        TextureRegistry::draw(scene, pose);
}
