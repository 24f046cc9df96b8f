#include "screens/effects.h"

#include "game/records.h"
#include "scene/scene.h"
#include "screens/scene_drawer.h"
#include "world/level_scenes.h"

#include <GL/gl.h>

#include <cmath>

void wreckEffect(MilitaryBase& base)
{
    const float s = std::exp(base.wreckPhase);
    glPushMatrix();
    glScalef(s, s, s);
    DrawScene(MilitaryBase2Scene);
    glPopMatrix();
    base.wreckPhase += 0.08f;
}

void explosionEffect(Projectile& shot)
{
    const float s = std::exp(shot.age);
    shot.direction = Vec3{};
    glPushMatrix();
    glRotatef(shot.age * 10.0f, 0.0f, 1.0f, 0.0f);
    glScalef(s, s, s);
    DrawScene(ExplosionScene);
    glPopMatrix();
    shot.age += 0.1f;
}

void crashEffect(EnemyHeli& enemy)
{
    if (!DestroyHeliScene)
        return;
    if (DestroyHeliScene->animationEnded) {
        DestroyHeliScene->animationEnded = false;
        DestroyHeliScene->animationTime = 0.0f;
        enemy.firing = false;
        enemy.dead = true;
        return;
    }
    enemy.velocity = Vec3{};
    enemy.angles = Vec3{};
    enemy.active = false;
    glPushMatrix();
    DestroyHeliScene->update();
    DrawScene(DestroyHeliScene);
    glPopMatrix();
}
