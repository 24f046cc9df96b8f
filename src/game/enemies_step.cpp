#include "game/enemies_step.h"

#include "game/game_state.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "game/sound_events.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <algorithm>
#include <cmath>

namespace {

// Hovering at the hero's height it sways: pushed one way until its sideways
// speed passes 0.3, then the other, rolling with the speed.
void sway(EnemyHeli& enemy)
{
    if (enemy.firing) {
        if (enemy.swayVelocity <= 0.3f && !enemy.swayFlag)
            enemy.velocity.x = 1.0f;
        else
            enemy.swayFlag = true;
        if (enemy.swayVelocity >= -0.3f && enemy.swayFlag)
            enemy.velocity.x = -1.0f;
        else
            enemy.swayFlag = false;
    }
    enemy.swayVelocity += enemy.velocity.x * 0.01f;
    enemy.angles.z = enemy.swayVelocity * 100.0f;
    enemy.position.x += enemy.swayVelocity;
    enemy.position.y += enemy.velocity.y;
    enemy.position.z += enemy.velocity.z;
}

// Until the camera comes within 30 units of it along z the enemy's frame
// follows the camera; from then on it stays.
void engage(EnemyHeli& enemy)
{
    if (!enemy.engaged) {
        const float gap = std::abs(enemy.position.z) - std::abs(Game.PathZ);
        if (std::sqrt(gap * gap) <= EnemyEngageZ)
            enemy.engaged = true;
        enemy.anchor = Vec4{Game.PathX, Game.PathY, Game.PathZ, 1.0f};
        enemy.anchorYaw = Game.PathYaw;
    }
}

// The crash, once the enemy is down: it stops and the shared crash
// animation steps on; the frame that finds the animation ended rewinds it
// and the enemy is dead. Answers whether the crash shows this frame, and
// the pose it shows in.
bool crash(EnemyHeli& enemy, Scene* animation, std::vector<Matrix4>& pose)
{
    if (!animation || animation->animationEnded) {
        if (animation) {
            animation->animationEnded = false;
            animation->animationTime = 0.0f;
        }
        enemy.firing = false;
        enemy.dead = true;
        return false;
    }
    enemy.velocity = Vec3{};
    enemy.angles = Vec3{};
    enemy.active = false;
    animation->update(Game.KeyCursors);
    pose.clear();
    for (const SceneNode& node : animation->nodes)
        pose.push_back(node.worldMatrix);
    return true;
}

// The enemy's one bullet: reloaded at the enemy, aimed where the enemy
// faces, one unit a frame; it can hurt the hero once per reload.
void fire(EnemyHeli& enemy, EnemySight& s)
{
    Projectile& shot = enemy.shot;
    if (shot.fresh) {
        shot.start.x = enemy.position.x;
        shot.start.y = enemy.position.y;
        shot.start.z = enemy.position.z;
        shot.position = shot.start;
        shot.angles = enemy.angles;
        // No minus signs: the enemy faces the camera.
        const Vec3 d{std::sin(gameRadians(shot.angles.y)), std::sin(gameRadians(enemy.angles.x)),
                     std::cos(gameRadians(shot.angles.y))};
        shot.launchDirection = d;
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        shot.direction = Vec3{d.x / length, d.y / length, d.z / length};
        shot.fresh = false;
        playSoundAt(Sound::EnemyShot, transformPoint(s.place, Origin));
    }
    shot.position.x += shot.direction.x;
    shot.position.y += shot.direction.y;
    shot.position.z += shot.direction.z;

    // The hero's place seen from the bullet, against the helicopter mesh.
    const Matrix4 bullet = rotated(rotatedXYZ(translated(enemyAnchorFrame(enemy), shot.position),
                                              enemy.angles.x, enemy.angles.y, enemy.angles.z),
                                   180.0f, 0.0f, 1.0f, 0.0f);
    const Matrix4 hero =
        rotatedXYZ(translated(inverse(bullet), Game.HeliOffsetX, Game.HeliOffsetY, Game.HeliOffsetZ),
                   Game.HeliPitch, Game.HeliTilt, Game.HeliRoll);
    bool hit = false;
    Process.HeroCollider.collide(transformPoint(hero, Origin), BulletHitSize, hit);
    if (hit && !shot.spent) {
        shot.spent = true;
        playSound(Sound::HeroHit);
        Game.HeroHealth.damage += HeroDamagePerHit;
        // A hit that finds the health gone takes a life and refills it.
        if (Game.HeroHealth.health <= 0.0f && Game.Lives > 0) {
            Game.Lives -= 1;
            playSound(Sound::LifeLost);
            Game.HeroHealth.damage = 0.0f;
            Game.HeroHealth.health = 8.0f;
        }
        Game.HeroHealth.health -= Game.HeroHealth.damage;
    }

    s.shotShown = true;
    s.shotPlace = rotated(rotatedXYZ(translated(enemyAnchorFrame(enemy), shot.position), shot.angles.x,
                                     shot.angles.y, shot.angles.z),
                          180.0f, 0.0f, 1.0f, 0.0f);
}

} // namespace

float turnToHero(float dx, float dz)
{
    const float d = std::sqrt(dx * dx + dz * dz);
    if (d == 0.0f)
        return 0.0f;
    const float sine = std::min(std::sqrt(dx * dx) / d, 1.0f);
    const float a = std::abs(gameDegrees(std::asin(sine)));
    return dx > 0.0f ? a : -a;
}

EnemySight enemyFrame(EnemyHeli& enemy, Vec4 pivot, Scene* crashAnimation)
{
    EnemySight s;
    if (enemy.dead)
        return s;
    if (std::abs(enemy.spawn.z + Game.PathZ) > EnemyNearZ && enemy.spawn.y <= enemy.position.y) {
        enemy.firing = false;
        enemy.velocity = Vec3{0.0f, -1.0f, 0.0f};
        return s;
    }
    // Down at the hero's height: hover and fire.
    if (-3.0f - Game.PathY >= enemy.position.y) {
        enemy.firing = true;
        enemy.velocity = Vec3{};
    }
    if (enemy.active) {
        sway(enemy);
        engage(enemy);
        enemy.angles.y = turnToHero(Game.HeliOffsetX - (enemy.position.x + enemy.anchor.x),
                                    Game.HeliOffsetZ - (enemy.position.z + enemy.anchor.z));
    }

    s.shown = true;
    s.alive = enemy.damage < EnemyDownAt;
    s.health = enemy;
    s.place = translated(enemyAnchorFrame(enemy), enemy.position);
    // Turned to face the camera about the model's pivot.
    s.model = translated(rotatedXYZ(rotated(translated(s.place, pivot), 180.0f, 0.0f, 1.0f, 0.0f),
                                    enemy.angles.x, enemy.angles.y, enemy.angles.z),
                         -pivot.x, -pivot.y, -pivot.z);
    if (!s.alive)
        s.crashing = crash(enemy, crashAnimation, s.crashPose);

    if (enemy.active && enemy.firing)
        fire(enemy, s);
    enemy.shot.reloadCounter += 1;
    if (enemy.shot.reloadCounter % EnemyReloadFrames == 0) {
        enemy.shot.spent = false;
        enemy.shot.fresh = true;
    }
    return s;
}

void advanceEnemies(std::vector<EnemySight>& sights)
{
    const Vec4 pivot = heroPivot();
    sights.resize(Game.EnemyHelis.size());
    for (size_t i = 0; i < Game.EnemyHelis.size(); ++i)
        sights[i] = enemyFrame(Game.EnemyHelis[i], pivot, Level.DestroyHeliScene.get());
}
