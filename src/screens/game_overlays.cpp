#include "screens/game_overlays.h"

#include "render/texture_registry.h"
#include "screens/scene_drawer.h"
#include "world/level_state.h"

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

void wonScreen() { caption(Level.WinningScene.get()); }

void lostScreen() { caption(Level.LoosingScene.get()); }

void pausedScreen()
{
    clearPicture(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    caption(Level.PausedScene.get());
}
