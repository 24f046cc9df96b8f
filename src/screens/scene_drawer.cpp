#include "screens/scene_drawer.h"

#include "render/texture_registry.h"

void (*DrawScene)(Scene* scene) = drawLoadedScene;

void drawLoadedScene(Scene* scene)
{
    if (scene)
        TextureRegistry::draw(scene);
}
