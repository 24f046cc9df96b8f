#include "screens/effects.h"

#include "scene/scene.h"
#include "screens/scene_drawer.h"
#include "world/level_scenes.h"

#include <GL/gl.h>

#include <cmath>

void drawWreck(float phase)
{
    const float s = std::exp(phase);
    glPushMatrix();
    glScalef(s, s, s);
    DrawScene(MilitaryBase2Scene);
    glPopMatrix();
}

void drawExplosion(float age)
{
    const float s = std::exp(age);
    glPushMatrix();
    glRotatef(age * 10.0f, 0.0f, 1.0f, 0.0f);
    glScalef(s, s, s);
    DrawScene(ExplosionScene);
    glPopMatrix();
}

void drawCrash()
{
    if (!DestroyHeliScene)
        return;
    glPushMatrix();
    DestroyHeliScene->update();
    DrawScene(DestroyHeliScene);
    glPopMatrix();
}
