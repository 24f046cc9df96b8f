#include "game/placements.h"

#include "game/game_state.h"
#include "scene/scene.h"
#include "world/level_layout.h"
#include "world/process_state.h"

Matrix4 cameraTransform()
{
    return translated(rotatedAsGl(Matrix4(), Game.PathYaw, 0.0f, 1.0f, 0.0f), Game.PathX, Game.PathY,
                      Game.PathZ);
}

Matrix4 placedInWorld(const Matrix4& m)
{
    return rotated(translated(m, 270.0f, 0.0f, -130.0f), -90.0f, 1.0f, 0.0f, 0.0f);
}

Matrix4 rotatedXYZ(const Matrix4& m, float x, float y, float z)
{
    return rotated(rotated(rotated(m, x, 1.0f, 0.0f, 0.0f), y, 0.0f, 1.0f, 0.0f), z, 0.0f, 0.0f, 1.0f);
}

Matrix4 placedAtBase(const Matrix4& m, const MilitaryBase& base)
{
    return rotatedXYZ(translated(m, base.position), base.angles.x, base.angles.y, base.angles.z);
}

Matrix4 heroTransform()
{
    return rotatedXYZ(translated(Matrix4(), Game.HeliOffsetX, Game.HeliOffsetY, Game.HeliOffsetZ),
                      Game.HeliPitch, Game.HeliTilt, Game.HeliRoll);
}

Matrix4 enemyAnchorFrame(const EnemyHeli& enemy)
{
    return translated(rotated(Matrix4(), enemy.anchorYaw, 0.0f, 1.0f, 0.0f), enemy.anchor);
}

Vec4 heroPivot()
{
    SceneNode* body = Process.HeroHeliScene ? Process.HeroHeliScene->findNode("HeliBody") : nullptr;
    return body ? body->position : Origin;
}
