#include "screens/game_overlays.h"

#include "screens/scene_drawer.h"
#include "world/level_scenes.h"

#include <GL/gl.h>

namespace {

void caption(Scene* scene)
{
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -150.0f);
    DrawScene(scene);
    glPopMatrix();
}

} // namespace

void wonScreen() { caption(WinningScene); }

void lostScreen() { caption(LoosingScene); }
