#include "screens/effects.h"

#include "scene/scene.h"
#include "screens/scene_drawer.h"
#include "world/level_state.h"

#include <GL/gl.h>

#include <cmath>

void drawWreck(float phase)
{
    const float s = std::exp(phase);
    glPushMatrix();
    glScalef(s, s, s);
    DrawScene(Level.MilitaryBase2Scene.get());
    glPopMatrix();
}

void drawExplosion(float age)
{
    const float s = std::exp(age);
    glPushMatrix();
    glRotatef(age * 10.0f, 0.0f, 1.0f, 0.0f);
    glScalef(s, s, s);
    DrawScene(Level.ExplosionScene.get());
    glPopMatrix();
}

void drawCrash(const std::vector<Matrix4>& pose)
{
    if (!Level.DestroyHeliScene)
        return;
    glPushMatrix();
    DrawPosedScene(Level.DestroyHeliScene.get(), pose);
    glPopMatrix();
}
